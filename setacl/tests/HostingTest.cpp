// The control as a container hosts it: site first, saved state, in-place activation
// in a real window, drawing, and teardown in reverse.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <vector>

#include "common/unique_any.h"
#include "setacl/Guids.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

// The form's saved state of the control.
const std::vector<BYTE> kFormState = {0x00, 0x00, 0x01, 0x00, 0x9E, 0x03, 0x00, 0x00,
                                      0x9E, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// A minimal container site: it hands out its window and records what the control tells it.
class Site final : public IOleClientSite, public IOleInPlaceSite {
public:
    explicit Site(HWND window) : window_(window) {}

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        static const QITAB table[] = {
            QITABENT(Site, IOleClientSite),
            QITABENT(Site, IOleInPlaceSite),
            QITABENTMULTI(Site, IOleWindow, IOleInPlaceSite),
            {nullptr, 0},
        };
        return QISearch(this, table, riid, ppv);
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    IFACEMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack

    IFACEMETHODIMP SaveObject() override { return S_OK; }
    IFACEMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    IFACEMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    IFACEMETHODIMP ShowObject() override { return S_OK; }
    IFACEMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    IFACEMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    IFACEMETHODIMP GetWindow(HWND* hwnd) override {
        *hwnd = window_;
        return S_OK;
    }
    IFACEMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    IFACEMETHODIMP CanInPlaceActivate() override { return S_OK; }
    IFACEMETHODIMP OnInPlaceActivate() override {
        ++activations;
        return S_OK;
    }
    IFACEMETHODIMP OnUIActivate() override { return S_OK; }
    IFACEMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                    LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
        *frame = nullptr;
        *document = nullptr;
        *position = kPosition;
        *clip = kPosition;
        return S_OK;
    }
    IFACEMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    IFACEMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    IFACEMETHODIMP OnInPlaceDeactivate() override {
        ++deactivations;
        return S_OK;
    }
    IFACEMETHODIMP DiscardUndoState() override { return S_OK; }
    IFACEMETHODIMP DeactivateAndUndo() override { return S_OK; }
    IFACEMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    static constexpr RECT kPosition = {8, 8, 40, 40};
    int activations = 0;
    int deactivations = 0;
    ULONG refs_ = 1;

private:
    HWND window_;
};

// Hidden, like the program's main window while its control is created and loaded.
common::unique_hwnd CreateContainerWindow() {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                0, 320, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(nullptr, hwnd);
    return common::unique_hwnd(hwnd);
}

bool HasVisibleStyle(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

ComPtr<IStream> StreamOf(const std::vector<BYTE>& bytes) {
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size())));
    return stream;
}

ComPtr<IOleObject> CreateOleObject() {
    ComPtr<IOleObject> control;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control)));
    return control;
}

TEST(Hosting, ContainerSequenceFromSiteToTeardown) {
    common::unique_hwnd container = CreateContainerWindow();
    ASSERT_TRUE(container);
    Site site(container.get());
    ComPtr<IOleObject> control = CreateOleObject();
    ASSERT_TRUE(control);

    DWORD misc = 0;
    ASSERT_EQ(S_OK, control->GetMiscStatus(DVASPECT_CONTENT, &misc));
    EXPECT_NE(0u, misc & OLEMISC_SETCLIENTSITEFIRST);
    ASSERT_EQ(S_OK, control->SetClientSite(&site));

    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, control.As(&persist));
    ASSERT_EQ(S_OK, persist->Load(StreamOf(kFormState).Get()));
    SIZEL extent = {};
    ASSERT_EQ(S_OK, control->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(0x39E, extent.cx);
    EXPECT_EQ(0x39E, extent.cy);

    RECT position = Site::kPosition;
    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, container.get(), &position));
    EXPECT_EQ(1, site.activations);
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, control.As(&inPlace));
    HWND window = nullptr;
    ASSERT_EQ(S_OK, inPlace->GetWindow(&window));
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(container.get(), GetParent(window));
    EXPECT_TRUE(HasVisibleStyle(window));
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(32, client.right);
    EXPECT_EQ(32, client.bottom);
    // Activating again is not a second activation.
    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, container.get(), &position));
    EXPECT_EQ(1, site.activations);

    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_HIDE, nullptr, &site, 0, container.get(), &position));
    EXPECT_FALSE(HasVisibleStyle(window));
    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_SHOW, nullptr, &site, 0, container.get(), &position));
    EXPECT_TRUE(HasVisibleStyle(window));
    const RECT moved = {10, 12, 60, 40};
    ASSERT_EQ(S_OK, inPlace->SetObjectRects(&moved, &moved));
    GetClientRect(window, &client);
    EXPECT_EQ(50, client.right);
    EXPECT_EQ(28, client.bottom);

    ASSERT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_EQ(1, site.deactivations);
    EXPECT_FALSE(IsWindow(window));
    HWND none = nullptr;
    EXPECT_TRUE(FAILED(inPlace->GetWindow(&none)));
    EXPECT_EQ(S_OK, control->Close(OLECLOSE_NOSAVE));
    EXPECT_EQ(S_OK, control->SetClientSite(nullptr));
    inPlace.Reset();
    persist.Reset();
    EXPECT_EQ(0u, control.Reset());
    // Nothing of the site is kept after SetClientSite(nullptr).
    EXPECT_EQ(1u, site.refs_);
}

TEST(Hosting, ParentWindowDestroyedWhileActive) {
    common::unique_hwnd container = CreateContainerWindow();
    ASSERT_TRUE(container);
    Site site(container.get());
    ComPtr<IOleObject> control = CreateOleObject();
    ASSERT_TRUE(control);
    ASSERT_EQ(S_OK, control->SetClientSite(&site));
    // No position from the caller: the site's window context gives it.
    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_SHOW, nullptr, &site, 0, container.get(), nullptr));
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(S_OK, control.As(&inPlace));
    HWND window = nullptr;
    ASSERT_EQ(S_OK, inPlace->GetWindow(&window));
    container.reset();
    EXPECT_FALSE(IsWindow(window));

    // Activated again in a new parent, the old activation ends first.
    common::unique_hwnd second = CreateContainerWindow();
    Site secondSite(second.get());
    ASSERT_EQ(S_OK, control->SetClientSite(&secondSite));
    ASSERT_EQ(S_OK, control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &secondSite, 0, second.get(), nullptr));
    EXPECT_EQ(1, site.deactivations);
    EXPECT_EQ(1, secondSite.activations);
    ASSERT_EQ(S_OK, inPlace->GetWindow(&window));
    EXPECT_EQ(second.get(), GetParent(window));

    EXPECT_EQ(S_OK, control->Close(OLECLOSE_NOSAVE));
    EXPECT_EQ(1, secondSite.deactivations);
    EXPECT_EQ(S_OK, control->SetClientSite(nullptr));
}

TEST(Hosting, DrawsAFramedBoxIntoTheContainersDc) {
    ComPtr<IViewObject2> view;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&view)));
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    common::unique_gdiobj bitmap(CreateCompatibleBitmap(screen, 64, 64));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap.get());
    const RECT all = {0, 0, 64, 64};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECTL bounds = {4, 4, 36, 36};
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), GetPixel(dc, 4, 4));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 6, 6));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 40, 40));
    EXPECT_EQ(DV_E_DVASPECT,
              view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    SIZEL extent = {};
    EXPECT_EQ(S_OK, view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent));
    EXPECT_EQ(0x39E, extent.cx);
}

struct StreamCase {
    const char* what;
    std::vector<BYTE> bytes;
};

TEST(Hosting, SavedStateRejectsShortAndMalformedStreams) {
    auto with = [](std::size_t offset, BYTE value) {
        std::vector<BYTE> bytes = kFormState;
        bytes[offset] = value;
        return bytes;
    };
    const std::vector<StreamCase> cases = {
        {"empty", {}},
        {"eight bytes", std::vector<BYTE>(kFormState.begin(), kFormState.begin() + 8)},
        {"fifteen bytes", std::vector<BYTE>(kFormState.begin(), kFormState.end() - 1)},
        {"major version 2", with(2, 0x02)},
        {"zero height", [] { auto b = kFormState; b[8] = b[9] = 0; return b; }()},
        {"reserved set", with(12, 0x01)},
    };
    for (const StreamCase& bad : cases) {
        ComPtr<IPersistStreamInit> persist;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&persist)));
        EXPECT_TRUE(FAILED(persist->Load(StreamOf(bad.bytes).Get()))) << bad.what;
        // A rejected state leaves the control as new: a good one still loads.
        EXPECT_EQ(S_OK, persist->Load(StreamOf(kFormState).Get())) << bad.what;
    }
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&persist)));
    EXPECT_EQ(E_POINTER, persist->Load(nullptr));
}

TEST(Hosting, SavedStateReadsOnlyItsOwnBytesAndSavesThemBack) {
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&persist)));
    std::vector<BYTE> followed = kFormState;
    followed.insert(followed.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    ComPtr<IStream> in = StreamOf(followed);
    ASSERT_EQ(S_OK, persist->Load(in.Get()));
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER at = {};
    ASSERT_EQ(S_OK, in->Seek(zero, STREAM_SEEK_CUR, &at));
    EXPECT_EQ(16u, at.QuadPart);
    EXPECT_EQ(E_UNEXPECTED, persist->Load(StreamOf(kFormState).Get()));
    EXPECT_EQ(E_UNEXPECTED, persist->InitNew());

    ULARGE_INTEGER size = {};
    ASSERT_EQ(S_OK, persist->GetSizeMax(&size));
    EXPECT_EQ(16u, size.QuadPart);
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    ComPtr<IStream> out = StreamOf({});
    ASSERT_EQ(S_OK, persist->Save(out.Get(), TRUE));
    STATSTG stat = {};
    ASSERT_EQ(S_OK, out->Stat(&stat, STATFLAG_NONAME));
    ASSERT_EQ(16u, stat.cbSize.QuadPart);
    ASSERT_EQ(S_OK, out->Seek(zero, STREAM_SEEK_SET, nullptr));
    std::vector<BYTE> saved(16);
    ULONG read = 0;
    ASSERT_EQ(S_OK, out->Read(saved.data(), 16, &read));
    EXPECT_EQ(kFormState, saved);

    // A new extent makes the control dirty and is what it saves next.
    ComPtr<IOleObject> object;
    ASSERT_EQ(S_OK, persist.As(&object));
    SIZEL extent = {1000, 500};
    ASSERT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(S_OK, persist->IsDirty());
    // An extent the state could not hold is refused, so what is saved always loads.
    SIZEL empty = {0, 500};
    EXPECT_EQ(E_INVALIDARG, object->SetExtent(DVASPECT_CONTENT, &empty));
    ComPtr<IStream> again = StreamOf({});
    ASSERT_EQ(S_OK, persist->Save(again.Get(), TRUE));
    EXPECT_EQ(S_FALSE, persist->IsDirty());

    ASSERT_EQ(S_OK, again->Seek(zero, STREAM_SEEK_SET, nullptr));
    ComPtr<IOleObject> reloaded;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&reloaded)));
    ComPtr<IPersistStreamInit> reloadedPersist;
    ASSERT_EQ(S_OK, reloaded.As(&reloadedPersist));
    ASSERT_EQ(S_OK, reloadedPersist->Load(again.Get()));
    SIZEL loaded = {};
    ASSERT_EQ(S_OK, reloaded->GetExtent(DVASPECT_CONTENT, &loaded));
    EXPECT_EQ(1000, loaded.cx);
    EXPECT_EQ(500, loaded.cy);
}

}  // namespace
}  // namespace setacl::test

#include "winui/OleSite.h"

#include <olectl.h>
#include <shlwapi.h>

namespace winui {

STDMETHODIMP OleSite::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(OleSite, IOleClientSite),
        QITABENTMULTI(OleSite, IOleWindow, IOleInPlaceSite),
        QITABENT(OleSite, IOleInPlaceSite),
        QITABENTMULTI(OleSite, IOleInPlaceUIWindow, IOleInPlaceFrame),
        QITABENT(OleSite, IOleInPlaceFrame),
        QITABENT(OleSite, IOleControlSite),
        QITABENT(OleSite, IDispatch),
        {nullptr, 0},
    };
    return ::QISearch(this, table, riid, ppv);
}

STDMETHODIMP_(ULONG) OleSite::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) OleSite::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP OleSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker == nullptr) return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleSite::GetContainer(IOleContainer** container) {
    if (container == nullptr) return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP OleSite::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = parent_;
    return S_OK;
}

STDMETHODIMP OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                       RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr) {
        return E_POINTER;
    }
    *frame = this;
    AddRef();
    *document = nullptr;
    *position = position_;
    *clip = position_;
    info->fMDIApp = FALSE;
    info->hwndFrame = parent_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP OleSite::GetExtendedControl(IDispatch** control) {
    if (control == nullptr) return E_POINTER;
    *control = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleSite::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP OleSite::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                             UINT*) {
    // The control runs, never designed: user mode is the one ambient property it gets.
    if (member != DISPID_AMBIENT_USERMODE || (flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr) return E_POINTER;
    ::VariantInit(result);
    result->vt = VT_BOOL;
    result->boolVal = VARIANT_TRUE;
    return S_OK;
}

}  // namespace winui

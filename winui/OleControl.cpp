#include "winui/OleControl.h"

#include <ocidl.h>

#include "common/text.h"
#include "common/unique_any.h"
#include "winui/Exceptions.h"

using Microsoft::WRL::ComPtr;

namespace winui {

namespace {

void OleCheck(HRESULT hr) {
    if (FAILED(hr)) throw EOleSysError(hr);
}

ComPtr<IStream> MemoryStream(const std::vector<BYTE>& bytes) {
    ComPtr<IStream> stream;
    OleCheck(::CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ULONG written = 0;
    OleCheck(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
    const LARGE_INTEGER start = {};
    OleCheck(stream->Seek(start, STREAM_SEEK_SET, nullptr));
    return stream;
}

[[noreturn]] void ThrowDispatchException(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    const common::unique_bstr source(info.bstrSource);
    const common::unique_bstr description(info.bstrDescription);
    const common::unique_bstr helpFile(info.bstrHelpFile);
    const HRESULT code = info.scode != 0 ? info.scode : DISP_E_EXCEPTION;
    if (description.get() == nullptr || ::SysStringLen(description.get()) == 0) throw EOleException(code);
    throw EOleException(common::WideToAnsi(description.get()), code);
}

}  // namespace

TOleControl::TOleControl(TForm& owner, TBounds bounds, const CLSID& classId, const IID& dispatchId,
                         std::vector<BYTE> savedState)
    : TControl(owner, bounds), classId_(classId), dispatchId_(dispatchId), savedState_(std::move(savedState)) {}

TOleControl::~TOleControl() { Teardown(); }

void TOleControl::CreateHandle(HWND parent) {
    const TBounds& b = Bounds();
    RECT position = {b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
    OleCheck(::CoCreateInstance(classId_, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_PPV_ARGS(&object_)));
    site_.Attach(new OleSite(parent, position));

    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) {
        OleCheck(object_->SetClientSite(site_.Get()));
        clientSiteSet_ = true;
    }
    ComPtr<IPersistStreamInit> persist;
    OleCheck(object_.As(&persist));
    OleCheck(persist->Load(MemoryStream(savedState_).Get()));
    if (!siteFirst) {
        OleCheck(object_->SetClientSite(site_.Get()));
        clientSiteSet_ = true;
    }
    OleCheck(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &position));
    activated_ = true;
}

void TOleControl::Teardown() noexcept {
    dispatch_.Reset();
    if (object_) {
        if (activated_) {
            ComPtr<IOleInPlaceObject> inPlace;
            if (SUCCEEDED(object_.As(&inPlace))) inPlace->InPlaceDeactivate();
            activated_ = false;
        }
        object_->Close(OLECLOSE_NOSAVE);
        if (clientSiteSet_) {
            object_->SetClientSite(nullptr);
            clientSiteSet_ = false;
        }
        object_.Reset();
    }
    site_.Reset();
}

IDispatch& TOleControl::DefaultDispatch() {
    if (!dispatch_) {
        if (!object_) throw EOleSysError(E_NOINTERFACE);
        OleCheck(object_->QueryInterface(dispatchId_, reinterpret_cast<void**>(dispatch_.ReleaseAndGetAddressOf())));
    }
    return *dispatch_.Get();
}

OleVariant TOleControl::InvokeMethod(DISPID member, OleVariant* args, std::size_t count) {
    IDispatch& dispatch = DefaultDispatch();
    // DISPPARAMS lists the arguments last to first; the copies only borrow the values.
    std::vector<VARIANT> reversed;
    reversed.reserve(count);
    for (std::size_t i = count; i > 0; --i) reversed.push_back(args[i - 1].get());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(count), 0};
    OleVariant result;
    EXCEPINFO info = {};
    UINT argumentError = 0;
    const HRESULT hr = dispatch.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                       result.put(), &info, &argumentError);
    if (hr == DISP_E_EXCEPTION) ThrowDispatchException(info);
    OleCheck(hr);
    return result;
}

}  // namespace winui

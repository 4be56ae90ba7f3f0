// What a container needs to host the control: IOleObject, in-place activation in a
// child window of the container, and IOleControl.
#include "common/result_macros.h"
#include "setacl/Guids.h"
#include "setacl/SetAclControl.h"

namespace setacl {

using Microsoft::WRL::ComPtr;

IFACEMETHODIMP SetAclControl::SetClientSite(IOleClientSite* site) {
    clientSite_ = site;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetClientSite(IOleClientSite** site) {
    if (site == nullptr) return E_POINTER;
    *site = clientSite_.Get();
    if (*site != nullptr) (*site)->AddRef();
    return S_OK;
}

IFACEMETHODIMP SetAclControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

IFACEMETHODIMP SetAclControl::Close(DWORD saveOption) {
    (void)InPlaceDeactivate();
    if (dirty_ && clientSite_ && (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
        RETURN_IF_FAILED(clientSite_->SaveObject());
    }
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

IFACEMETHODIMP SetAclControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker == nullptr) return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
}

IFACEMETHODIMP SetAclControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::GetClipboardData(DWORD, IDataObject** data) {
    if (data == nullptr) return E_POINTER;
    *data = nullptr;
    return E_NOTIMPL;
}

IFACEMETHODIMP SetAclControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT position) {
    if (site != nullptr && !clientSite_) clientSite_ = site;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        // The control takes no keyboard input, so UI activation is in-place activation.
        RETURN_IF_FAILED(ActivateInPlace(parent, position));
        ShowWindow(window_.Handle(), SW_SHOWNA);
        return S_OK;
    case OLEIVERB_HIDE:
        if (window_.Handle() != nullptr) ShowWindow(window_.Handle(), SW_HIDE);
        return S_OK;
    default:
        if (verb < 0) return E_NOTIMPL;
        // An unknown positive verb acts as the primary verb.
        RETURN_IF_FAILED(ActivateInPlace(parent, position));
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT SetAclControl::ActivateInPlace(HWND parent, LPCRECT position) noexcept {
    if (inPlaceSite_ && window_.Handle() != nullptr) return S_OK;
    // Still active but the window went with its parent: end that activation first.
    if (inPlaceSite_) RETURN_IF_FAILED(InPlaceDeactivate());
    if (!clientSite_) return E_UNEXPECTED;
    ComPtr<IOleInPlaceSite> site;
    RETURN_IF_FAILED(clientSite_.As(&site));
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    RETURN_IF_FAILED(site->OnInPlaceActivate());
    // Until the window exists, a failure must tell the site the activation is off again.
    HRESULT hr = S_OK;
    HWND siteWindow = nullptr;
    if (SUCCEEDED(site->GetWindow(&siteWindow)) && siteWindow != nullptr) parent = siteWindow;
    RECT rect = {};
    if (position != nullptr) {
        rect = *position;
    } else {
        ComPtr<IOleInPlaceFrame> frame;
        ComPtr<IOleInPlaceUIWindow> document;
        RECT clip = {};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof(frameInfo);
        hr = site->GetWindowContext(&frame, &document, &rect, &clip, &frameInfo);
    }
    if (SUCCEEDED(hr)) hr = parent != nullptr ? window_.Create(parent, rect) : E_INVALIDARG;
    if (FAILED(hr)) {
        site->OnInPlaceDeactivate();
        return hr;
    }
    inPlaceSite_ = std::move(site);
    return S_OK;
}

IFACEMETHODIMP SetAclControl::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(CLSID_SetACL, verbs); }

IFACEMETHODIMP SetAclControl::Update() { return S_OK; }

IFACEMETHODIMP SetAclControl::IsUpToDate() { return S_OK; }

IFACEMETHODIMP SetAclControl::GetUserClassID(CLSID* clsid) {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_SetACL;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetUserType(DWORD form, LPOLESTR* type) {
    return OleRegGetUserType(CLSID_SetACL, form, type);
}

IFACEMETHODIMP SetAclControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (size == nullptr) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (size->cx <= 0 || size->cy <= 0) return E_INVALIDARG;
    if (size->cx != state_.extentX || size->cy != state_.extentY) {
        state_.extentX = size->cx;
        state_.extentY = size->cy;
        dirty_ = true;
    }
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (size == nullptr) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    size->cx = state_.extentX;
    size->cy = state_.extentY;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (connection == nullptr) return E_POINTER;
    *connection = 0;
    if (!adviseHolder_) RETURN_IF_FAILED(CreateOleAdviseHolder(&adviseHolder_));
    return adviseHolder_->Advise(sink, connection);
}

IFACEMETHODIMP SetAclControl::Unadvise(DWORD connection) {
    if (!adviseHolder_) return OLE_E_NOCONNECTION;
    return adviseHolder_->Unadvise(connection);
}

IFACEMETHODIMP SetAclControl::EnumAdvise(IEnumSTATDATA** advise) {
    if (advise == nullptr) return E_POINTER;
    *advise = nullptr;
    if (!adviseHolder_) return S_OK;
    return adviseHolder_->EnumAdvise(advise);
}

IFACEMETHODIMP SetAclControl::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (status == nullptr) return E_POINTER;
    *status = 0;
    if (aspect != DVASPECT_CONTENT) return S_OK;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::GetWindow(HWND* hwnd) {
    if (hwnd == nullptr) return E_POINTER;
    *hwnd = window_.Handle();
    return *hwnd != nullptr ? S_OK : E_FAIL;
}

IFACEMETHODIMP SetAclControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::InPlaceDeactivate() {
    if (!inPlaceSite_) return S_OK;
    window_.Destroy();
    // The site may release us from its notification; keep ourselves alive through it.
    const ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    const ComPtr<IOleObject> keepAlive(this);
    site->OnInPlaceDeactivate();
    return S_OK;
}

IFACEMETHODIMP SetAclControl::UIDeactivate() { return S_OK; }

IFACEMETHODIMP SetAclControl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (position == nullptr) return E_POINTER;
    if (window_.Handle() != nullptr) {
        MoveWindow(window_.Handle(), position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    }
    return S_OK;
}

IFACEMETHODIMP SetAclControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

IFACEMETHODIMP SetAclControl::GetControlInfo(CONTROLINFO* info) {
    if (info == nullptr) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

IFACEMETHODIMP SetAclControl::FreezeEvents(BOOL freeze) {
    if (freeze) {
        ++eventFreezes_;
    } else if (eventFreezes_ > 0) {
        --eventFreezes_;
    }
    return S_OK;
}

}  // namespace setacl

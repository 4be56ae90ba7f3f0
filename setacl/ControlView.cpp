// Drawing the control into a container's device context (IViewObject2).
#include "setacl/SetAclControl.h"

namespace setacl {

IFACEMETHODIMP SetAclControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc, LPCRECTL bounds,
                                   LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (drawDc == nullptr || bounds == nullptr) return E_INVALIDARG;
    const RECT rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    PaintControlBox(drawDc, rect);
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (colors == nullptr) return E_POINTER;
    *colors = nullptr;
    return S_FALSE;
}

IFACEMETHODIMP SetAclControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
    if (freeze != nullptr) *freeze = 0;
    return E_NOTIMPL;
}

IFACEMETHODIMP SetAclControl::Unfreeze(DWORD) { return E_NOTIMPL; }

IFACEMETHODIMP SetAclControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewSink_ = sink;
    viewAspects_ = aspects;
    viewAdviseFlags_ = flags;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects != nullptr) *aspects = viewAspects_;
    if (flags != nullptr) *flags = viewAdviseFlags_;
    if (sink != nullptr) {
        *sink = viewSink_.Get();
        if (*sink != nullptr) (*sink)->AddRef();
    }
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

}  // namespace setacl

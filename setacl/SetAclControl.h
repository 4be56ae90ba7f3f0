#pragma once
// The ACL control: an ActiveX control whose dispatch methods hand an access
// request to the engine, and which a container can host, load and draw.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "setacl/ControlWindow.h"
#include "setacl/EventConnectionPoint.h"
#include "setacl/SavedState.h"
#include "setacl/engine/AclRequest.h"

namespace setacl {

class SetAclControl final : public IDispatch,
                            public IOleObject,
                            public IOleInPlaceObject,
                            public IOleControl,
                            public IViewObject2,
                            public IPersistStreamInit,
                            public IProvideClassInfo2,
                            public IConnectionPointContainer {
public:
    static HRESULT Create(REFIID riid, void** ppv) noexcept;

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    // IDispatch (the dispatch interface _DSetACL)
    IFACEMETHODIMP GetTypeInfoCount(UINT* count) override;
    IFACEMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    IFACEMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    IFACEMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argErr) override;

    // IOleObject
    IFACEMETHODIMP SetClientSite(IOleClientSite* site) override;
    IFACEMETHODIMP GetClientSite(IOleClientSite** site) override;
    IFACEMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
    IFACEMETHODIMP Close(DWORD saveOption) override;
    IFACEMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    IFACEMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    IFACEMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    IFACEMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    IFACEMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                          LPCRECT position) override;
    IFACEMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    IFACEMETHODIMP Update() override;
    IFACEMETHODIMP IsUpToDate() override;
    IFACEMETHODIMP GetUserClassID(CLSID* clsid) override;
    IFACEMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    IFACEMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    IFACEMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    IFACEMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    IFACEMETHODIMP Unadvise(DWORD connection) override;
    IFACEMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    IFACEMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    IFACEMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject
    IFACEMETHODIMP GetWindow(HWND* hwnd) override;
    IFACEMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    IFACEMETHODIMP InPlaceDeactivate() override;
    IFACEMETHODIMP UIDeactivate() override;
    IFACEMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    IFACEMETHODIMP ReactivateAndUndo() override;

    // IOleControl
    IFACEMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    IFACEMETHODIMP OnMnemonic(MSG* msg) override;
    IFACEMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    IFACEMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject, IViewObject2
    IFACEMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                        HDC drawDc, LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                        ULONG_PTR contArg) override;
    IFACEMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                               LOGPALETTE** colors) override;
    IFACEMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    IFACEMETHODIMP Unfreeze(DWORD freeze) override;
    IFACEMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    IFACEMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    IFACEMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistStreamInit
    IFACEMETHODIMP GetClassID(CLSID* clsid) override;
    IFACEMETHODIMP IsDirty() override;
    IFACEMETHODIMP Load(IStream* stream) override;
    IFACEMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    IFACEMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    IFACEMETHODIMP InitNew() override;

    // IProvideClassInfo, IProvideClassInfo2
    IFACEMETHODIMP GetClassInfo(ITypeInfo** info) override;
    IFACEMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // IConnectionPointContainer
    IFACEMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    IFACEMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    SetAclControl();
    ~SetAclControl();

    // The engine's log lines, raised as OnMessageEvent.
    void RaiseMessage(const std::wstring& line) noexcept;
    HRESULT InvokeMethod(DISPID id, const DISPPARAMS& params, VARIANT* result, UINT* argErr);
    HRESULT GetTypeInfoOf(REFGUID guid, ITypeInfo** info) noexcept;
    HRESULT ActivateInPlace(HWND parent, LPCRECT position) noexcept;

    LONG refs_ = 1;
    std::unique_ptr<AclRequest> request_;
    EventConnectionPoint events_;
    LONG eventFreezes_ = 0;
    Microsoft::WRL::ComPtr<ITypeLib> typeLib_;

    SavedState state_;
    bool initialized_ = false;
    bool dirty_ = false;

    Microsoft::WRL::ComPtr<IOleClientSite> clientSite_;
    Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite_;
    Microsoft::WRL::ComPtr<IOleAdviseHolder> adviseHolder_;
    Microsoft::WRL::ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewAdviseFlags_ = 0;
    ControlWindow window_;
};

}  // namespace setacl

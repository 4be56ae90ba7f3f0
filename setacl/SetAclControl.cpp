// The control's lifetime, identity and self-description.
#include "setacl/SetAclControl.h"

#include <shlwapi.h>

#include <new>

#include "common/result_macros.h"
#include "setacl/ConnectionPointEnum.h"
#include "setacl/Guids.h"
#include "setacl/Module.h"

namespace setacl {

namespace {

// The event's dispatch ID in the event interface.
constexpr DISPID kOnMessageEvent = 1;

}  // namespace

SetAclControl::SetAclControl()
    : request_(std::make_unique<AclRequest>([this](const std::wstring& line) { RaiseMessage(line); })),
      events_(*this, DIID_DSetACLEvents) {
    ModuleAddRef();
}

SetAclControl::~SetAclControl() { ModuleRelease(); }

HRESULT SetAclControl::Create(REFIID riid, void** ppv) noexcept {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    SetAclControl* control = nullptr;
    try {
        control = new SetAclControl();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    const HRESULT hr = control->QueryInterface(riid, ppv);
    control->Release();
    return hr;
}

IFACEMETHODIMP SetAclControl::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(SetAclControl, IDispatch),
        QITABENTMULTI2(SetAclControl, DIID_DSetACL, IDispatch),
        QITABENT(SetAclControl, IOleObject),
        QITABENTMULTI(SetAclControl, IOleWindow, IOleInPlaceObject),
        QITABENT(SetAclControl, IOleInPlaceObject),
        QITABENT(SetAclControl, IOleControl),
        QITABENTMULTI(SetAclControl, IViewObject, IViewObject2),
        QITABENT(SetAclControl, IViewObject2),
        QITABENTMULTI(SetAclControl, IPersist, IPersistStreamInit),
        QITABENT(SetAclControl, IPersistStreamInit),
        QITABENTMULTI(SetAclControl, IProvideClassInfo, IProvideClassInfo2),
        QITABENT(SetAclControl, IProvideClassInfo2),
        QITABENT(SetAclControl, IConnectionPointContainer),
        {nullptr, 0},
    };
    return QISearch(this, table, riid, ppv);
}

IFACEMETHODIMP_(ULONG) SetAclControl::AddRef() { return InterlockedIncrement(&refs_); }

IFACEMETHODIMP_(ULONG) SetAclControl::Release() {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

HRESULT SetAclControl::GetTypeInfoOf(REFGUID guid, ITypeInfo** info) noexcept {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (!typeLib_) {
        // The type library is resource 1 of this DLL; it need not be registered.
        std::wstring path;
        RETURN_IF_FAILED(GetModulePath(path));
        RETURN_IF_FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, typeLib_.ReleaseAndGetAddressOf()));
    }
    return typeLib_->GetTypeInfoOfGuid(guid, info);
}

IFACEMETHODIMP SetAclControl::GetClassInfo(ITypeInfo** info) { return GetTypeInfoOf(CLSID_SetACL, info); }

IFACEMETHODIMP SetAclControl::GetGUID(DWORD kind, GUID* guid) {
    if (guid == nullptr) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID_DSetACLEvents;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return ConnectionPointEnum::Create(&events_, 0, points);
}

IFACEMETHODIMP SetAclControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (riid != DIID_DSetACLEvents) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

void SetAclControl::RaiseMessage(const std::wstring& line) noexcept {
    // A frozen container does not want events; they are dropped, not queued.
    if (eventFreezes_ > 0) return;
    events_.Raise(kOnMessageEvent, line.c_str(), static_cast<UINT>(line.size()));
}

}  // namespace setacl

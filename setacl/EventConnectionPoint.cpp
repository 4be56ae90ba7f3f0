#include "setacl/EventConnectionPoint.h"

#include <olectl.h>

#include <algorithm>
#include <new>

#include "common/unique_any.h"

namespace setacl {

using Microsoft::WRL::ComPtr;

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer& owner, REFIID eventsIid) noexcept
    : owner_(owner), eventsIid_(eventsIid) {}

IFACEMETHODIMP EventConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

IFACEMETHODIMP_(ULONG) EventConnectionPoint::AddRef() { return owner_.AddRef(); }

IFACEMETHODIMP_(ULONG) EventConnectionPoint::Release() { return owner_.Release(); }

IFACEMETHODIMP EventConnectionPoint::GetConnectionInterface(IID* iid) {
    if (iid == nullptr) return E_POINTER;
    *iid = eventsIid_;
    return S_OK;
}

IFACEMETHODIMP EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (container == nullptr) return E_POINTER;
    *container = &owner_;
    owner_.AddRef();
    return S_OK;
}

IFACEMETHODIMP EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) return E_POINTER;
    *cookie = 0;
    if (sink == nullptr) return E_POINTER;
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(eventsIid_, reinterpret_cast<void**>(events.GetAddressOf())))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    try {
        sinks_.emplace_back(nextCookie_, std::move(events));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

IFACEMETHODIMP EventConnectionPoint::Unadvise(DWORD cookie) {
    const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                    [cookie](const auto& entry) { return entry.first == cookie; });
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sinks_.erase(found);
    return S_OK;
}

IFACEMETHODIMP EventConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections == nullptr) return E_POINTER;
    *connections = nullptr;
    return E_NOTIMPL;
}

void EventConnectionPoint::Raise(DISPID id, const wchar_t* text, UINT length) noexcept {
    if (sinks_.empty()) return;
    try {
        // A sink may unadvise, or advise another, while it handles the event.
        std::vector<ComPtr<IDispatch>> targets;
        targets.reserve(sinks_.size());
        for (const auto& entry : sinks_) targets.push_back(entry.second);

        common::unique_bstr message(SysAllocStringLen(text, length));
        if (!message) return;
        VARIANTARG arg;
        VariantInit(&arg);
        V_VT(&arg) = VT_BSTR;
        V_BSTR(&arg) = message.get();
        DISPPARAMS params = {&arg, nullptr, 1, 0};
        for (const ComPtr<IDispatch>& target : targets) {
            // Each sink gets the event even if another one fails.
            (void)target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                 nullptr, nullptr);
        }
    } catch (const std::bad_alloc&) {
        // An event lost for want of memory must not fail the call that raised it.
    }
}

}  // namespace setacl

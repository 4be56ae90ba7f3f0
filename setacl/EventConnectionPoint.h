#pragma once
// The connection point through which the control raises its events. It lives
// inside the control and shares its lifetime, but answers QueryInterface as an
// object of its own, as a connection point must.
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

namespace setacl {

class EventConnectionPoint final : public IConnectionPoint {
public:
    EventConnectionPoint(IConnectionPointContainer& owner, REFIID eventsIid) noexcept;

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    IFACEMETHODIMP GetConnectionInterface(IID* iid) override;
    IFACEMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    IFACEMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    IFACEMETHODIMP Unadvise(DWORD cookie) override;
    IFACEMETHODIMP EnumConnections(IEnumConnections** connections) override;

    // Calls the event on every sink with one string argument; a failing sink is skipped.
    void Raise(DISPID id, const wchar_t* text, UINT length) noexcept;

private:
    IConnectionPointContainer& owner_;
    const IID eventsIid_;
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace setacl

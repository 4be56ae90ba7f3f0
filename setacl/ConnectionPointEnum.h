#pragma once
// Enumerates the control's connection points (it has one).
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

namespace setacl {

class ConnectionPointEnum final : public IEnumConnectionPoints {
public:
    static HRESULT Create(IConnectionPoint* point, ULONG position, IEnumConnectionPoints** result) noexcept;

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    IFACEMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    IFACEMETHODIMP Skip(ULONG count) override;
    IFACEMETHODIMP Reset() override;
    IFACEMETHODIMP Clone(IEnumConnectionPoints** result) override;

private:
    ConnectionPointEnum(IConnectionPoint* point, ULONG position) noexcept;
    ~ConnectionPointEnum() = default;

    LONG refs_ = 1;
    Microsoft::WRL::ComPtr<IConnectionPoint> point_;
    ULONG position_;
};

}  // namespace setacl

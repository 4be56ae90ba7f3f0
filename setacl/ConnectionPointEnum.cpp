#include "setacl/ConnectionPointEnum.h"

#include <shlwapi.h>

#include <new>

namespace setacl {

ConnectionPointEnum::ConnectionPointEnum(IConnectionPoint* point, ULONG position) noexcept
    : point_(point), position_(position) {}

HRESULT ConnectionPointEnum::Create(IConnectionPoint* point, ULONG position,
                                    IEnumConnectionPoints** result) noexcept {
    if (result == nullptr) return E_POINTER;
    *result = new (std::nothrow) ConnectionPointEnum(point, position);
    return *result == nullptr ? E_OUTOFMEMORY : S_OK;
}

IFACEMETHODIMP ConnectionPointEnum::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(ConnectionPointEnum, IEnumConnectionPoints),
        {nullptr, 0},
    };
    return QISearch(this, table, riid, ppv);
}

IFACEMETHODIMP_(ULONG) ConnectionPointEnum::AddRef() { return InterlockedIncrement(&refs_); }

IFACEMETHODIMP_(ULONG) ConnectionPointEnum::Release() {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

IFACEMETHODIMP ConnectionPointEnum::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    if (points == nullptr || (count != 1 && fetched == nullptr)) return E_POINTER;
    ULONG given = 0;
    if (count > 0 && position_ == 0) {
        points[0] = point_.Get();
        points[0]->AddRef();
        position_ = 1;
        given = 1;
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

IFACEMETHODIMP ConnectionPointEnum::Skip(ULONG count) {
    if (count == 0) return S_OK;
    const bool wasAtStart = position_ == 0;
    position_ = 1;
    return wasAtStart && count == 1 ? S_OK : S_FALSE;
}

IFACEMETHODIMP ConnectionPointEnum::Reset() {
    position_ = 0;
    return S_OK;
}

IFACEMETHODIMP ConnectionPointEnum::Clone(IEnumConnectionPoints** result) {
    return Create(point_.Get(), position_, result);
}

}  // namespace setacl

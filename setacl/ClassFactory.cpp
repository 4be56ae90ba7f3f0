#include "setacl/ClassFactory.h"

#include <shlwapi.h>

#include "setacl/Module.h"

namespace setacl {

ClassFactory::ClassFactory(CreateFn create) noexcept : create_(create) { ModuleAddRef(); }

ClassFactory::~ClassFactory() { ModuleRelease(); }

IFACEMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(ClassFactory, IClassFactory),
        {nullptr, 0},
    };
    return QISearch(this, table, riid, ppv);
}

IFACEMETHODIMP_(ULONG) ClassFactory::AddRef() { return InterlockedIncrement(&refs_); }

IFACEMETHODIMP_(ULONG) ClassFactory::Release() {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

IFACEMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(riid, ppv);
}

IFACEMETHODIMP ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ModuleAddRef();
    } else {
        ModuleRelease();
    }
    return S_OK;
}

}  // namespace setacl

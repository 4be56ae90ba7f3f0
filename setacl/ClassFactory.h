#pragma once
#include <windows.h>
#include <unknwn.h>

namespace setacl {

// Creates the objects of one class; holds the module while it lives.
class ClassFactory final : public IClassFactory {
public:
    using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

    explicit ClassFactory(CreateFn create) noexcept;

    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override;
    IFACEMETHODIMP_(ULONG) Release() override;

    IFACEMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    IFACEMETHODIMP LockServer(BOOL lock) override;

private:
    ~ClassFactory();

    LONG refs_ = 1;
    CreateFn create_;
};

}  // namespace setacl

// The DLL's class object and its unload rule, through the DLL's own exports.
#include <windows.h>
#include <oleidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include "common/unique_any.h"
#include "setacl/Guids.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

template <typename Fn>
Fn Export(HMODULE dll, const char* name) {
    // Through the generic function pointer type, which may be cast to any other.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

TEST(ClassObject, CreatesControlsAndHoldsTheDllWhileAnyLives) {
    common::unique_hmodule dll(LoadLibraryW(OcxPath().c_str()));
    ASSERT_TRUE(dll);
    const auto getClassObject = Export<GetClassObjectFn>(dll.get(), "DllGetClassObject");
    const auto canUnloadNow = Export<CanUnloadNowFn>(dll.get(), "DllCanUnloadNow");
    ASSERT_NE(nullptr, getClassObject);
    ASSERT_NE(nullptr, canUnloadNow);
    // No test leaves an object of the DLL alive, so the counts start at zero.
    ASSERT_EQ(S_OK, canUnloadNow());

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IDispatch, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_SetACL, IID_PPV_ARGS(&factory)));
    EXPECT_EQ(S_FALSE, canUnloadNow());

    ComPtr<IUnknown> outer;
    ASSERT_EQ(S_OK, factory.As(&outer));
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.Get(), IID_PPV_ARGS(&aggregated)));
    ComPtr<IStorage> notOffered;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_PPV_ARGS(&notOffered)));
    EXPECT_EQ(nullptr, notOffered.Get());

    ComPtr<IOleObject> control;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&control)));
    outer.Reset();
    factory.Reset();
    EXPECT_EQ(S_FALSE, canUnloadNow());
    control.Reset();
    EXPECT_EQ(S_OK, canUnloadNow());

    ASSERT_EQ(S_OK, getClassObject(CLSID_SetACL, IID_PPV_ARGS(&factory)));
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(S_FALSE, canUnloadNow());
    ASSERT_EQ(S_OK, getClassObject(CLSID_SetACL, IID_PPV_ARGS(&factory)));
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(S_OK, canUnloadNow());
}

}  // namespace
}  // namespace setacl::test

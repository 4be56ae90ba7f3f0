#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include "setacl/Guids.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST(Registration, Regsvr32RegistersAndRemovesEveryKey) {
    const std::wstring classKey = L"CLSID\\" + GuidText(CLSID_SetACL);
    const std::wstring libKey = L"TypeLib\\" + GuidText(LIBID_SETACLLib);
    const std::wstring dispatchKey = L"Interface\\" + GuidText(DIID_DSetACL);
    const std::wstring eventsKey = L"Interface\\" + GuidText(DIID_DSetACLEvents);
    const wchar_t progId[] = L"SetACL.SetACLCtrl.1";

    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    EXPECT_TRUE(SamePath(OcxPath(), ClassesValue(classKey + L"\\InprocServer32", nullptr)))
        << ClassesValue(classKey + L"\\InprocServer32", nullptr);
    EXPECT_EQ(L"Apartment", ClassesValue(classKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_TRUE(ClassesKeyExists(classKey + L"\\Control"));
    EXPECT_EQ(GuidText(LIBID_SETACLLib), ClassesValue(classKey + L"\\TypeLib", nullptr));
    EXPECT_TRUE(SamePath(OcxPath(), ClassesValue(libKey + L"\\1.0\\0\\win32", nullptr)));
    EXPECT_EQ(GuidText(LIBID_SETACLLib), ClassesValue(dispatchKey + L"\\TypeLib", nullptr));
    EXPECT_EQ(GuidText(LIBID_SETACLLib), ClassesValue(eventsKey + L"\\TypeLib", nullptr));

    // What clients build on the keys: the ProgID, the registered type library.
    CLSID fromProgId = {};
    EXPECT_EQ(S_OK, CLSIDFromProgID(progId, &fromProgId));
    EXPECT_TRUE(IsEqualCLSID(CLSID_SetACL, fromProgId));
    {
        ComPtr<ITypeLib> library;
        ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_SETACLLib, 1, 0, LOCALE_NEUTRAL, &library));
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID_DSetACL, &info));
    }

    ASSERT_EQ(0u, RunRegsvr32(L"/u /s"));
    for (const std::wstring& key : {classKey, libKey, dispatchKey, eventsKey, std::wstring(progId)}) {
        EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
    for (const wchar_t* shared : {L"CLSID", L"TypeLib", L"Interface"}) {
        EXPECT_TRUE(ClassesKeyExists(shared)) << shared;
    }
    // Removing what is already gone is not an error.
    EXPECT_EQ(0u, RunRegsvr32(L"/u /s"));

    // The other tests use the registered control.
    ASSERT_EQ(0u, RunRegsvr32(L"/s"));
    EXPECT_TRUE(ClassesKeyExists(classKey + L"\\InprocServer32"));
}

}  // namespace
}  // namespace setacl::test

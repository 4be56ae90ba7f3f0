#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <climits>

#include "setacl/Guids.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

struct Method {
    const wchar_t* name;
    DISPID id;
};

const Method kMethods[] = {
    {L"ChooseTarget", 2}, {L"AddAccessEntry", 8}, {L"ChooseAction", 14},
    {L"ChooseLogFile", 15}, {L"ApplyRequest", 16}, {L"ErrorText", 17},
};

TEST(Dispatch, DescribesItselfThroughItsTypeLibrary) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);

    UINT count = 0;
    ASSERT_EQ(S_OK, control->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, control->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualIID(DIID_DSetACL, attr->guid));
    EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
    info->ReleaseTypeAttr(attr);

    // The type library and the dispatch code agree on every name and ID.
    for (const Method& method : kMethods) {
        LPOLESTR name = const_cast<LPOLESTR>(method.name);
        DISPID fromTypeInfo = DISPID_UNKNOWN;
        EXPECT_EQ(S_OK, info->GetIDsOfNames(&name, 1, &fromTypeInfo)) << method.name;
        EXPECT_EQ(method.id, fromTypeInfo) << method.name;
    }
    ComPtr<ITypeInfo> badIndex;
    EXPECT_EQ(DISP_E_BADINDEX, control->GetTypeInfo(1, LOCALE_USER_DEFAULT, &badIndex));

    ComPtr<IProvideClassInfo2> classInfo;
    ASSERT_EQ(S_OK, control.As(&classInfo));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, classInfo->GetClassInfo(&coclass));
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualCLSID(CLSID_SetACL, attr->guid));
    coclass->ReleaseTypeAttr(attr);
    GUID events = {};
    EXPECT_EQ(S_OK, classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_TRUE(IsEqualIID(DIID_DSetACLEvents, events));

    // The dispatch interface by its own IID is the same object.
    ComPtr<IUnknown> byDiid, identity, controlIdentity;
    ASSERT_EQ(S_OK, control->QueryInterface(DIID_DSetACL, &byDiid));
    ASSERT_EQ(S_OK, byDiid.As(&identity));
    ASSERT_EQ(S_OK, control.As(&controlIdentity));
    EXPECT_EQ(identity.Get(), controlIdentity.Get());
}

TEST(Dispatch, GetIDsOfNamesIgnoresCase) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    const Method spelled[] = {
        {L"ChooseTarget", 2}, {L"addaccessentry", 8}, {L"CHOOSEACTION", 14},
        {L"chooseLogFile", 15}, {L"ApplyRequest", 16}, {L"ERRORTEXT", 17},
    };
    for (const Method& method : spelled) {
        LPOLESTR name = const_cast<LPOLESTR>(method.name);
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(S_OK, control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) << method.name;
        EXPECT_EQ(method.id, id) << method.name;
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"SetOwner");
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, control->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(DISPID_UNKNOWN, id);
    // The methods take no named arguments, so argument names are unknown.
    LPOLESTR withArgument[] = {const_cast<LPOLESTR>(L"ErrorText"), const_cast<LPOLESTR>(L"code")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, control->GetIDsOfNames(IID_NULL, withArgument, 2, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(17, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

TEST(Dispatch, EveryMethodAnswersWithItsResultType) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    CreateDirectoryW(L"D:\\setacl-dispatch", nullptr);
    // No ApplyRequest here: the grant itself is tested on its own.
    const int codes[] = {
        CallForCode(control.Get(), 15, {L"D:\\setacl-dispatch\\log.txt"}),
        CallForCode(control.Get(), 2, {L"D:\\setacl-dispatch", 1}),
        CallForCode(control.Get(), 14, {1}),
        CallForCode(control.Get(), 8, {L"Everyone", false, L"Full", 3, true, 2, 1}),
    };
    for (int code : codes) EXPECT_FALSE(ErrorText(control.Get(), code).empty()) << code;
    // Some clients read a method's result as a property.
    CallResult asProperty;
    Call(control.Get(), 17, {5}, asProperty, DISPATCH_PROPERTYGET);
    EXPECT_EQ(S_OK, asProperty.hr);
    EXPECT_EQ(VT_BSTR, V_VT(&asProperty.value));
    // A caller that does not want the result need not take it.
    VARIANTARG code;
    VariantInit(&code);
    V_VT(&code) = VT_I4;
    V_I4(&code) = 5;
    DISPPARAMS params = {&code, nullptr, 1, 0};
    EXPECT_EQ(S_OK, control->Invoke(17, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                                    nullptr));
}

TEST(Dispatch, ErrorTextHasTextForAnyCode) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    for (int code : {1, -1, 2, 12345, 0x7FFF, INT_MAX, INT_MIN}) {
        EXPECT_FALSE(ErrorText(control.Get(), code).empty()) << code;
    }
}

TEST(Dispatch, CoercesArgumentsLikeAutomation) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    const std::wstring expected = ErrorText(control.Get(), 77);

    VARIANT shortCode;
    VariantInit(&shortCode);
    V_VT(&shortCode) = VT_I2;
    V_I2(&shortCode) = 77;
    VARIANT byteCode;
    VariantInit(&byteCode);
    V_VT(&byteCode) = VT_UI1;
    V_UI1(&byteCode) = 77;
    LONG longValue = 77;
    VARIANT byRef;
    VariantInit(&byRef);
    V_VT(&byRef) = VT_I4 | VT_BYREF;
    V_I4REF(&byRef) = &longValue;
    VARIANT inner;
    VariantInit(&inner);
    V_VT(&inner) = VT_I2;
    V_I2(&inner) = 77;
    VARIANT variantRef;
    VariantInit(&variantRef);
    V_VT(&variantRef) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&variantRef) = &inner;

    for (const Arg& code : {Arg(shortCode), Arg(byteCode), Arg(byRef), Arg(variantRef), Arg(L"77")}) {
        CallResult result;
        Call(control.Get(), 17, {code}, result);
        ASSERT_EQ(S_OK, result.hr) << V_VT(&code.get());
        ASSERT_EQ(VT_BSTR, V_VT(&result.value));
        EXPECT_EQ(expected, V_BSTR(&result.value)) << V_VT(&code.get());
    }

    // Strings and booleans by reference, booleans as integers.
    BSTR trustee = SysAllocString(L"Everyone");
    VARIANT trusteeRef;
    VariantInit(&trusteeRef);
    V_VT(&trusteeRef) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&trusteeRef) = &trustee;
    VARIANT_BOOL yes = VARIANT_TRUE;
    VARIANT boolRef;
    VariantInit(&boolRef);
    V_VT(&boolRef) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&boolRef) = &yes;
    CallResult entry;
    Call(control.Get(), 8, {Arg(trusteeRef), 0, L"Full", 3, Arg(boolRef), 2, 1}, entry);
    EXPECT_EQ(S_OK, entry.hr);
    EXPECT_EQ(VT_I4, V_VT(&entry.value));
    SysFreeString(trustee);
}

struct BadCall {
    const char* what;
    DISPID id;
    std::vector<Arg> args;
    HRESULT expected;
    UINT argErr;  // rgvarg index, last argument first; UINT(-1) where none applies
};

TEST(Dispatch, RejectsBadCallsWithTheirCodes) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    VARIANT null;
    VariantInit(&null);
    V_VT(&null) = VT_NULL;
    VARIANT missing;
    VariantInit(&missing);
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    VARIANT huge;
    VariantInit(&huge);
    V_VT(&huge) = VT_R8;
    V_R8(&huge) = 1e20;
    VARIANT nowhere;
    VariantInit(&nowhere);
    V_VT(&nowhere) = VT_I4 | VT_BYREF;
    V_I4REF(&nowhere) = nullptr;
    VARIANT unknown;
    VariantInit(&unknown);
    V_VT(&unknown) = VT_UNKNOWN;
    V_UNKNOWN(&unknown) = nullptr;

    const UINT none = UINT(-1);
    std::vector<BadCall> calls;
    calls.push_back({"ErrorText without its code", 17, {}, DISP_E_BADPARAMCOUNT, none});
    calls.push_back({"ErrorText with two codes", 17, {1, 2}, DISP_E_BADPARAMCOUNT, none});
    calls.push_back({"ApplyRequest with an argument", 16, {1}, DISP_E_BADPARAMCOUNT, none});
    calls.push_back({"AddAccessEntry with six", 8, {L"Everyone", false, L"Full", 3, true, 2}, DISP_E_BADPARAMCOUNT,
                     none});
    calls.push_back({"ChooseTarget with one", 2, {L"D:\\"}, DISP_E_BADPARAMCOUNT, none});
    calls.push_back({"ErrorText of a word", 17, {L"abc"}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"ChooseTarget with a word for a kind", 2, {L"D:\\", L"file"}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"ChooseTarget with a null path", 2, {Arg(null), 1}, DISP_E_TYPEMISMATCH, 1});
    calls.push_back({"AddAccessEntry with a word for a boolean", 8,
                     {L"Everyone", L"maybe", L"Full", 3, true, 2, 1}, DISP_E_TYPEMISMATCH, 5});
    calls.push_back({"AddAccessEntry with the last one missing", 8,
                     {L"Everyone", false, L"Full", 3, true, 2, Arg(missing)}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"ChooseAction beyond 32 bits", 14, {Arg(huge)}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"ChooseAction by a null reference", 14, {Arg(nowhere)}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"ChooseLogFile with an object", 15, {Arg(unknown)}, DISP_E_TYPEMISMATCH, 0});
    calls.push_back({"unknown dispatch ID 3", 3, {}, DISP_E_MEMBERNOTFOUND, none});
    calls.push_back({"unknown dispatch ID 0", 0, {}, DISP_E_MEMBERNOTFOUND, none});
    calls.push_back({"unknown dispatch ID -1", -1, {}, DISP_E_MEMBERNOTFOUND, none});
    calls.push_back({"unknown dispatch ID 1000", 1000, {1}, DISP_E_MEMBERNOTFOUND, none});

    for (const BadCall& call : calls) {
        CallResult result;
        Call(control.Get(), call.id, call.args, result);
        EXPECT_EQ(call.expected, result.hr) << call.what;
        if (call.argErr != none) {
            EXPECT_EQ(call.argErr, result.argErr) << call.what;
        }
        EXPECT_EQ(VT_EMPTY, V_VT(&result.value)) << call.what;
    }
}

TEST(Dispatch, RejectsNamedArgumentsPropertyPutsAndForeignInterfaces) {
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    VARIANTARG code;
    VariantInit(&code);
    V_VT(&code) = VT_I4;
    V_I4(&code) = 1;
    DISPID named = 0;
    DISPPARAMS withName = {&code, &named, 1, 1};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(DISP_E_NONAMEDARGS,
              control->Invoke(17, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &withName, &result, nullptr,
                              nullptr));
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS propertyPut = {&code, &put, 1, 1};
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              control->Invoke(14, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &propertyPut, nullptr,
                              nullptr, nullptr));
    DISPPARAMS plain = {&code, nullptr, 1, 0};
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
              control->Invoke(17, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &plain, &result, nullptr,
                              nullptr));
    // No DISPPARAMS at all is a call without arguments.
    EXPECT_EQ(DISP_E_BADPARAMCOUNT,
              control->Invoke(17, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, &result, nullptr,
                              nullptr));
    EXPECT_EQ(VT_EMPTY, V_VT(&result));
}

}  // namespace
}  // namespace setacl::test

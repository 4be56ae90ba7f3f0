#include "setacl/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/unique_any.h"
#include "setacl/Guids.h"

namespace setacl::test {

std::wstring OcxPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path);
    return result.substr(0, result.find_last_of(L'\\') + 1) + L"SetACL.ocx";
}

DWORD RunRegsvr32(const std::wstring& switches) {
    std::wstring command = L"regsvr32.exe " + switches + L" \"" + OcxPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "cannot start regsvr32: " << GetLastError();
        return DWORD(-1);
    }
    common::unique_handle processHandle(process.hProcess);
    common::unique_handle threadHandle(process.hThread);
    // A hung registration fails the test instead of hanging the run.
    if (WaitForSingleObject(processHandle.get(), 120000) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.get(), 1);
        ADD_FAILURE() << "regsvr32 did not finish";
        return DWORD(-1);
    }
    DWORD code = 0;
    GetExitCodeProcess(processHandle.get(), &code);
    return code;
}

bool ClassesKeyExists(const std::wstring& key) {
    common::unique_hkey hkey;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, hkey.put()) == ERROR_SUCCESS;
}

std::wstring ClassesValue(const std::wstring& key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
        return L"<missing>";
    }
    return value;
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[39] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

Microsoft::WRL::ComPtr<IDispatch> CreateControl() {
    Microsoft::WRL::ComPtr<IDispatch> control;
    const HRESULT hr = CoCreateInstance(CLSID_SetACL, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control));
    EXPECT_EQ(S_OK, hr) << "CoCreateInstance";
    return control;
}

Arg::Arg(const wchar_t* text) {
    VariantInit(&value_);
    V_VT(&value_) = VT_BSTR;
    V_BSTR(&value_) = SysAllocString(text);
}

Arg::Arg(int value) {
    VariantInit(&value_);
    V_VT(&value_) = VT_I4;
    V_I4(&value_) = value;
}

Arg::Arg(bool value) {
    VariantInit(&value_);
    V_VT(&value_) = VT_BOOL;
    V_BOOL(&value_) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

Arg::Arg(const VARIANT& value) {
    VariantInit(&value_);
    // By-reference arguments are kept as they are: they point at the caller's storage.
    if (V_VT(&value) & VT_BYREF) {
        value_ = value;
    } else {
        VariantCopy(&value_, const_cast<VARIANT*>(&value));
    }
}

Arg::Arg(const Arg& other) : Arg(other.value_) {}

Arg::~Arg() {
    if ((V_VT(&value_) & VT_BYREF) == 0) VariantClear(&value_);
}

void Call(IDispatch* control, DISPID id, const std::vector<Arg>& args, CallResult& result, WORD flags) {
    // rgvarg holds the arguments last first.
    std::vector<VARIANTARG> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->get());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()),
                         0};
    EXCEPINFO exception = {};
    result.hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result.value, &exception,
                                &result.argErr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

int CallForCode(IDispatch* control, DISPID id, const std::vector<Arg>& args) {
    CallResult result;
    Call(control, id, args, result);
    EXPECT_EQ(S_OK, result.hr) << "dispatch ID " << id;
    EXPECT_EQ(VT_I4, V_VT(&result.value)) << "dispatch ID " << id;
    return V_VT(&result.value) == VT_I4 ? V_I4(&result.value) : -1;
}

std::wstring ErrorText(IDispatch* control, int code) {
    CallResult result;
    Call(control, 17, {code}, result);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(VT_BSTR, V_VT(&result.value));
    if (V_VT(&result.value) != VT_BSTR || V_BSTR(&result.value) == nullptr) return L"";
    return std::wstring(V_BSTR(&result.value), SysStringLen(V_BSTR(&result.value)));
}

}  // namespace setacl::test

#include "bench/control_grant.h"

#include <oleauto.h>

#include <stdexcept>

#include "common/text.h"

namespace bench {

namespace {

constexpr CLSID kAclControl = {0x17738736, 0x8831, 0x4197, {0xAC, 0xA5, 0xA7, 0x40, 0xA0, 0x50, 0xB4, 0xCF}};

constexpr DISPID kChooseTarget = 2;
constexpr DISPID kAddAccessEntry = 8;
constexpr DISPID kChooseAction = 14;
constexpr DISPID kChooseLogFile = 15;
constexpr DISPID kApplyRequest = 16;
constexpr DISPID kErrorText = 17;

[[noreturn]] void Fail(const std::string& what, HRESULT hr) {
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    throw std::runtime_error(what + " failed, " + code);
}

}  // namespace

DispatchArguments::~DispatchArguments() {
    for (VARIANT& v : reversed_) ::VariantClear(&v);
}

VARIANT& DispatchArguments::Next() {
    reversed_.insert(reversed_.begin(), VARIANT{});
    ::VariantInit(&reversed_.front());
    return reversed_.front();
}

DispatchArguments& DispatchArguments::String(const std::wstring& value) {
    BSTR text = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!text) throw std::bad_alloc();
    VARIANT& v = Next();
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return *this;
}

DispatchArguments& DispatchArguments::Bool(bool value) {
    VARIANT& v = Next();
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return *this;
}

DispatchArguments& DispatchArguments::Int(int32_t value) {
    VARIANT& v = Next();
    v.vt = VT_I4;
    v.lVal = value;
    return *this;
}

DISPPARAMS DispatchArguments::Params() {
    return {reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
}

AclControl::AclControl() {
    const HRESULT hr =
        ::CoCreateInstance(kAclControl, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dispatch_.GetAddressOf()));
    if (FAILED(hr)) Fail("creating the ACL control", hr);
}

VARIANT AclControl::Call(const char* method, DISPID id, DispatchArguments& arguments) {
    DISPPARAMS params = arguments.Params();
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr =
        dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
    if (FAILED(hr)) Fail(method, hr);
    return result;
}

void AclControl::Check(const char* method, DISPID id, DispatchArguments& arguments) {
    VARIANT result = Call(method, id, arguments);
    if (result.vt != VT_I4) {
        ::VariantClear(&result);
        throw std::runtime_error(std::string(method) + " returned no 32-bit result");
    }
    if (result.lVal == 0) return;

    DispatchArguments code;
    code.Int(result.lVal);
    VARIANT text = Call("ErrorText", kErrorText, code);
    std::string message = std::string(method) + " returned " + std::to_string(result.lVal);
    if (text.vt == VT_BSTR && text.bstrVal) message += ": " + common::WideToAnsi(text.bstrVal);
    ::VariantClear(&text);
    throw std::runtime_error(message);
}

void AclControl::ChooseLogFile(const std::wstring& logFile) {
    DispatchArguments arguments;
    Check("ChooseLogFile", kChooseLogFile, arguments.String(logFile));
}

void AclControl::GrantEveryoneFull(const std::wstring& folder) {
    DispatchArguments target;
    Check("ChooseTarget", kChooseTarget, target.String(folder).Int(1));
    DispatchArguments action;
    Check("ChooseAction", kChooseAction, action.Int(1));
    DispatchArguments entry;
    Check("AddAccessEntry", kAddAccessEntry,
          entry.String(L"Everyone").Bool(false).String(L"Full").Int(3).Bool(true).Int(2).Int(1));
    DispatchArguments none;
    Check("ApplyRequest", kApplyRequest, none);
}

}  // namespace bench

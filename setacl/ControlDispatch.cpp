// The dispatch interface _DSetACL: methods by dispatch ID, with positional arguments,
// forwarded to the request engine.
#include <new>

#include "common/result_macros.h"
#include "common/text.h"
#include "setacl/DispatchArgs.h"
#include "setacl/Guids.h"
#include "setacl/MethodTable.h"
#include "setacl/SetAclControl.h"

namespace setacl {

namespace {

HRESULT SetResult(VARIANT* result, std::int32_t code) noexcept {
    if (result == nullptr) return S_OK;
    VariantInit(result);
    V_VT(result) = VT_I4;
    V_I4(result) = code;
    return S_OK;
}

HRESULT SetResult(VARIANT* result, const std::wstring& text) noexcept {
    if (result == nullptr) return S_OK;
    VariantInit(result);
    const BSTR value = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    if (value == nullptr) return E_OUTOFMEMORY;
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = value;
    return S_OK;
}

// Reports an internal failure to the caller as an automation exception with its text.
HRESULT ReportException(EXCEPINFO* exception, const char* what) noexcept {
    if (exception == nullptr) return DISP_E_EXCEPTION;
    *exception = EXCEPINFO{};
    exception->scode = E_FAIL;
    exception->bstrSource = SysAllocString(L"SetACL");
    try {
        const std::wstring text = common::AnsiToWide(what);
        exception->bstrDescription = SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    } catch (...) {
        // The code alone still tells the caller that the call failed.
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

IFACEMETHODIMP SetAclControl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

IFACEMETHODIMP SetAclControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetTypeInfoOf(DIID_DSetACL, info);
}

IFACEMETHODIMP SetAclControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr) return E_POINTER;
    // The methods take positional arguments only, so no argument name is known.
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const MethodInfo* method = FindMethod(names[0]);
    if (method == nullptr) return DISP_E_UNKNOWNNAME;
    ids[0] = method->id;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

IFACEMETHODIMP SetAclControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argErr) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    const MethodInfo* method = FindMethod(id);
    // Some clients read a method's result as a property get; both mean a call here.
    if (method == nullptr || (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    const DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const DISPPARAMS& args = params != nullptr ? *params : none;
    if (args.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (args.cArgs != method->argCount) return DISP_E_BADPARAMCOUNT;
    if (args.cArgs != 0 && args.rgvarg == nullptr) return E_INVALIDARG;
    try {
        // The engine may raise events into a sink that drops the last outside reference.
        const Microsoft::WRL::ComPtr<IDispatch> keepAlive(this);
        return InvokeMethod(id, args, result, argErr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        return ReportException(exception, e.what());
    } catch (...) {
        return ReportException(exception, "unexpected failure in the ACL control");
    }
}

HRESULT SetAclControl::InvokeMethod(DISPID id, const DISPPARAMS& params, VARIANT* result, UINT* argErr) {
    const DispatchArgs args(params, argErr);
    switch (id) {
    case kChooseTarget: {
        std::wstring path;
        std::int32_t kind = 0;
        RETURN_IF_FAILED(args.GetString(0, path));
        RETURN_IF_FAILED(args.GetInt(1, kind));
        return SetResult(result, request_->ChooseTarget(path, kind));
    }
    case kAddAccessEntry: {
        std::wstring trustee, permission;
        bool trusteeIsSid = false, toExisting = false;
        std::int32_t inheritance = 0, mode = 0, list = 0;
        RETURN_IF_FAILED(args.GetString(0, trustee));
        RETURN_IF_FAILED(args.GetBool(1, trusteeIsSid));
        RETURN_IF_FAILED(args.GetString(2, permission));
        RETURN_IF_FAILED(args.GetInt(3, inheritance));
        RETURN_IF_FAILED(args.GetBool(4, toExisting));
        RETURN_IF_FAILED(args.GetInt(5, mode));
        RETURN_IF_FAILED(args.GetInt(6, list));
        return SetResult(result, request_->AddAccessEntry(trustee, trusteeIsSid, permission, inheritance,
                                                          toExisting, mode, list));
    }
    case kChooseAction: {
        std::int32_t action = 0;
        RETURN_IF_FAILED(args.GetInt(0, action));
        return SetResult(result, request_->ChooseAction(action));
    }
    case kChooseLogFile: {
        std::wstring path;
        RETURN_IF_FAILED(args.GetString(0, path));
        return SetResult(result, request_->ChooseLogFile(path));
    }
    case kApplyRequest:
        return SetResult(result, request_->ApplyRequest());
    case kErrorText: {
        std::int32_t code = 0;
        RETURN_IF_FAILED(args.GetInt(0, code));
        return SetResult(result, request_->ErrorText(code));
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace setacl

#include "setacl/DispatchArgs.h"

#include "common/result_macros.h"

namespace setacl {

namespace {

class ScopedVariant {
public:
    ScopedVariant() noexcept { VariantInit(&value); }
    ~ScopedVariant() { VariantClear(&value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT value;
};

}  // namespace

HRESULT DispatchArgs::Coerce(UINT position, VARTYPE type, VARIANT& out) const noexcept {
    const UINT index = params_.cArgs - 1 - position;
    const VARIANT& arg = params_.rgvarg[index];
    // A reference to nothing is the caller's fault; it must not become ours.
    const bool emptyReference = (V_VT(&arg) & VT_BYREF) != 0 && V_BYREF(&arg) == nullptr;
    HRESULT hr = emptyReference ? DISP_E_TYPEMISMATCH : VariantCopyInd(&out, const_cast<VARIANT*>(&arg));
    if (SUCCEEDED(hr)) hr = VariantChangeType(&out, &out, 0, type);
    if (SUCCEEDED(hr)) return S_OK;
    if (hr == E_OUTOFMEMORY) return hr;
    if (argErr_ != nullptr) *argErr_ = index;
    return DISP_E_TYPEMISMATCH;
}

HRESULT DispatchArgs::GetString(UINT position, std::wstring& value) const {
    ScopedVariant arg;
    RETURN_IF_FAILED(Coerce(position, VT_BSTR, arg.value));
    const BSTR text = V_BSTR(&arg.value);
    value.assign(text == nullptr ? L"" : text, SysStringLen(text));
    return S_OK;
}

HRESULT DispatchArgs::GetInt(UINT position, std::int32_t& value) const noexcept {
    ScopedVariant arg;
    RETURN_IF_FAILED(Coerce(position, VT_I4, arg.value));
    value = V_I4(&arg.value);
    return S_OK;
}

HRESULT DispatchArgs::GetBool(UINT position, bool& value) const noexcept {
    ScopedVariant arg;
    RETURN_IF_FAILED(Coerce(position, VT_BOOL, arg.value));
    value = V_BOOL(&arg.value) != VARIANT_FALSE;
    return S_OK;
}

}  // namespace setacl

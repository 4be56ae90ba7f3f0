#pragma once
// Positional access to the arguments of an IDispatch::Invoke call, coerced to the
// types the methods take. rgvarg holds them last first.
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

namespace setacl {

class DispatchArgs {
public:
    // argErr, when given, receives the rgvarg index of an argument that cannot be coerced.
    DispatchArgs(const DISPPARAMS& params, UINT* argErr) noexcept : params_(params), argErr_(argErr) {}

    [[nodiscard]] HRESULT GetString(UINT position, std::wstring& value) const;
    [[nodiscard]] HRESULT GetInt(UINT position, std::int32_t& value) const noexcept;
    [[nodiscard]] HRESULT GetBool(UINT position, bool& value) const noexcept;

private:
    // Fails with DISP_E_TYPEMISMATCH (and sets argErr) unless the argument, by value or
    // by reference, converts to the given type.
    [[nodiscard]] HRESULT Coerce(UINT position, VARTYPE type, VARIANT& out) const noexcept;

    const DISPPARAMS& params_;
    UINT* argErr_;
};

}  // namespace setacl

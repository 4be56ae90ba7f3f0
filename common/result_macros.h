#pragma once
// Early-return helpers for HRESULT-returning code. Each evaluates its argument once.
#include <windows.h>

#define RETURN_IF_FAILED(expr)                         \
    do {                                               \
        const HRESULT hr_ = (expr);                    \
        if (FAILED(hr_)) return hr_;                   \
    } while (0)

#define RETURN_HR_IF(hr, cond)                         \
    do {                                               \
        if (cond) return (hr);                         \
    } while (0)

#define RETURN_IF_WIN32_ERROR(expr)                    \
    do {                                               \
        const DWORD err_ = static_cast<DWORD>(expr);   \
        if (err_ != ERROR_SUCCESS) return HRESULT_FROM_WIN32(err_); \
    } while (0)

#define RETURN_IF_WIN32_BOOL_FALSE(expr)               \
    do {                                               \
        if (!(expr)) return common::last_error_hr();   \
    } while (0)

#define RETURN_LAST_ERROR_IF_NULL(expr)                \
    do {                                               \
        if ((expr) == nullptr) return common::last_error_hr(); \
    } while (0)

namespace common {

// GetLastError as an HRESULT; never S_OK, since the caller saw a failure.
inline HRESULT last_error_hr() noexcept {
    const DWORD err = ::GetLastError();
    return err == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(err);
}

}  // namespace common

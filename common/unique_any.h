#pragma once
// Owning wrappers for Win32 handles and COM-allocated memory: one owner, no copies.
#include <windows.h>
#include <oleauto.h>
#include <utility>

namespace common {

template <typename T, auto Close, T Invalid = T{}>
class unique_any {
public:
    unique_any() noexcept = default;
    explicit unique_any(T value) noexcept : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid; }
    T release() noexcept { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) noexcept {
        T old = std::exchange(value_, value);
        if (old != Invalid) Close(old);
    }
    // For out-parameters: frees what is held and hands out the slot.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid;
};

namespace detail {
inline void close_handle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void find_close(HANDLE h) noexcept { ::FindClose(h); }
inline void reg_close(HKEY k) noexcept { ::RegCloseKey(k); }
inline void local_free(HLOCAL p) noexcept { ::LocalFree(p); }
inline void free_library(HMODULE m) noexcept { ::FreeLibrary(m); }
inline void sys_free_string(BSTR s) noexcept { ::SysFreeString(s); }
inline void destroy_window(HWND w) noexcept { ::DestroyWindow(w); }
inline void delete_object(HGDIOBJ o) noexcept { ::DeleteObject(o); }
}  // namespace detail

using unique_handle = unique_any<HANDLE, detail::close_handle>;
using unique_hkey = unique_any<HKEY, detail::reg_close>;
using unique_hlocal = unique_any<HLOCAL, detail::local_free>;
using unique_hmodule = unique_any<HMODULE, detail::free_library>;
using unique_bstr = unique_any<BSTR, detail::sys_free_string>;
using unique_hwnd = unique_any<HWND, detail::destroy_window>;
using unique_gdiobj = unique_any<HGDIOBJ, detail::delete_object>;

// Handles whose failure value is INVALID_HANDLE_VALUE (CreateFile, FindFirstFile),
// which is not a constant expression and so cannot be a template argument.
template <void (*Close)(HANDLE)>
class unique_invalid_handle {
public:
    unique_invalid_handle() noexcept = default;
    explicit unique_invalid_handle(HANDLE h) noexcept : h_(h) {}
    unique_invalid_handle(const unique_invalid_handle&) = delete;
    unique_invalid_handle& operator=(const unique_invalid_handle&) = delete;
    unique_invalid_handle(unique_invalid_handle&& o) noexcept : h_(o.release()) {}
    unique_invalid_handle& operator=(unique_invalid_handle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~unique_invalid_handle() { reset(); }

    HANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE release() noexcept { return std::exchange(h_, INVALID_HANDLE_VALUE); }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) noexcept {
        HANDLE old = std::exchange(h_, h);
        if (old != INVALID_HANDLE_VALUE) Close(old);
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

using unique_hfile = unique_invalid_handle<detail::close_handle>;
using unique_hfind = unique_invalid_handle<detail::find_close>;

}  // namespace common

#pragma once
// Window procedure trampoline: `this` travels in CREATESTRUCT, is kept in GWLP_USERDATA
// and every message goes to the member HandleMessage.
#include <windows.h>

namespace winui {

template <typename T>
LRESULT CALLBACK WindowProcFor(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->AttachHandle(hwnd);
    } else {
        self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wparam, lparam);
    } catch (...) {
        // Handlers report their own errors; nothing may unwind into the system's code.
        result = ::DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->AttachHandle(nullptr);
    }
    return result;
}

// Registers the class once per process; later calls return the existing atom's name.
template <typename T>
const wchar_t* RegisterWindowClassFor(const wchar_t* className, HBRUSH background) {
    WNDCLASSEXW wc = {};
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) return className;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProcFor<T>;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
    return className;
}

}  // namespace winui

// The least a windowed Win32 program does: register a class, create a window, show
// it, post the quit request and run the message loop until it arrives. The yardstick
// for the whole run of Project1.exe, which does the same around its job.
#include <windows.h>

#include "common/unique_any.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW, in its wide form
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    if (!::RegisterClassW(&windowClass)) return 1;

    common::unique_hwnd window(::CreateWindowExW(0, windowClass.lpszClassName, L"Minimal window",
                                                 WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 323, 97,
                                                 nullptr, nullptr, instance, nullptr));
    if (!window) return 1;
    ::ShowWindow(window.get(), SW_SHOW);
    ::UpdateWindow(window.get());
    ::PostQuitMessage(0);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

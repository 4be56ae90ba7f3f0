#include "setacl/ControlWindow.h"

#include "common/result_macros.h"
#include "setacl/Module.h"

namespace setacl {

namespace {

const wchar_t kWindowClass[] = L"SetACLControlWindow";

HRESULT EnsureWindowClass(WNDPROC procedure) noexcept {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = ModuleHandle();
    // IDC_ARROW's macro follows UNICODE, which this build leaves unset.
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = kWindowClass;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return common::last_error_hr();
    }
    return S_OK;
}

}  // namespace

HRESULT ControlWindow::Create(HWND parent, const RECT& position) noexcept {
    if (hwnd_) return S_OK;
    RETURN_IF_FAILED(EnsureWindowClass(&ControlWindow::WindowProc));
    const HWND hwnd = CreateWindowExW(0, kWindowClass, L"SetACL", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                      position.left, position.top, position.right - position.left,
                                      position.bottom - position.top, parent, nullptr, ModuleHandle(), this);
    RETURN_LAST_ERROR_IF_NULL(hwnd);
    hwnd_.reset(hwnd);
    return S_OK;
}

LRESULT CALLBACK ControlWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // Destroyed with its parent: the owner must not destroy it a second time.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->hwnd_.get() == hwnd) self->hwnd_.release();
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }
    return self->HandleMessage(hwnd, message, wparam, lparam);
}

// hwnd_ is not set yet while CreateWindowEx runs, so the handle comes with the message.
LRESULT ControlWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        PaintControlBox(dc, client);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

void PaintControlBox(HDC dc, const RECT& bounds) noexcept {
    FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &bounds, GetSysColorBrush(COLOR_WINDOWFRAME));
    RECT text = bounds;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, L"ACL", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
}

void UnregisterControlWindowClass() noexcept { UnregisterClassW(kWindowClass, ModuleHandle()); }

}  // namespace setacl

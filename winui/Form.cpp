#include "winui/Form.h"

#include <algorithm>

#include "winui/Application.h"
#include "winui/Exceptions.h"
#include "winui/WindowClass.h"

namespace winui {

namespace {
constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// The modal frame also keeps the icon out of the title bar.
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

TForm::TForm(const TFormLayout& layout)
    : layout_(layout),
      font_(::CreateFontW(layout.FontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          layout.FontName)) {}

TForm::~TForm() {
    if (handle_ != nullptr) ::DestroyWindow(handle_);
}

void TForm::AddControl(TControl& control) { controls_.push_back(&control); }

void TForm::RemoveControl(TControl& control) noexcept {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

void TForm::Load() {
    const wchar_t* className =
        RegisterWindowClassFor<TForm>(layout_.ClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT frame = {0, 0, layout_.ClientWidth, layout_.ClientHeight};
    ::AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
    const HWND owner = Application->Handle();
    if (::CreateWindowExW(kFormExStyle, className, layout_.Caption, kFormStyle, 0, 0, frame.right - frame.left,
                          frame.bottom - frame.top, owner, nullptr, ::GetModuleHandleW(nullptr), this) == nullptr) {
        throw Exception(SysErrorMessage(::GetLastError()));
    }
    for (TControl* control : controls_) control->CreateHandle(handle_);

    try {
        if (OnCreate) OnCreate(this);
    } catch (const std::exception& error) {
        Application->ShowException(error);
    }
}

void TForm::Show() {
    RECT frame;
    ::GetWindowRect(handle_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(handle_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(handle_, SW_SHOW);
    ::UpdateWindow(handle_);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (lparam != 0) {
            for (TControl* control : controls_) {
                if (control->ControlId() != LOWORD(wparam)) continue;
                try {
                    control->Command(HIWORD(wparam));
                } catch (const std::exception& error) {
                    Application->ShowException(error);
                }
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        // Closing the main form ends the program through the message loop.
        if (Application->MainForm() == this) {
            Application->Terminate();
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefWindowProcW(handle_, message, wparam, lparam);
}

}  // namespace winui

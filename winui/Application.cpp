#include "winui/Application.h"

#include <ole2.h>

#include "common/text.h"
#include "winui/Exceptions.h"
#include "winui/FileUtils.h"

namespace winui {

namespace {
TApplication instance;

// Without a window manager behind it the owner of a box does not matter; with one,
// a box for a visible form belongs to that form.
HWND MessageBoxOwner(HWND applicationWindow) {
    const HWND active = ::GetActiveWindow();
    return active != nullptr ? active : applicationWindow;
}
}  // namespace

TApplication* Application = &instance;

TApplication::~TApplication() {
    // The hosted controls go before the apartment they live in.
    forms_.clear();
    handle_.reset();
    if (oleInitialized_) ::OleUninitialize();
}

void TApplication::Initialize() {
    const HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr)) throw EOleSysError(hr);
    oleInitialized_ = true;

    if (title_.empty()) title_ = ExtractFileBaseName(ExeFileName());
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TApplication";
    ::RegisterClassExW(&wc);
    handle_.reset(::CreateWindowExW(0, L"TApplication", common::AnsiToWide(title_).c_str(),
                                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                    0, 0, nullptr, nullptr, wc.hInstance, nullptr));
    if (!handle_) throw Exception(SysErrorMessage(::GetLastError()));
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) ::SetWindowTextW(handle_.get(), common::AnsiToWide(title_).c_str());
}

std::string TApplication::ExeName() const { return ExeFileName(); }

void TApplication::Run() {
    TForm* mainForm = MainForm();
    if (mainForm == nullptr) return;
    mainForm->Show();
    MSG msg;
    while (!terminated_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            break;
        }
        if (!::IsDialogMessageW(mainForm->Handle(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

void TApplication::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void TApplication::ShowException(const std::exception& error) {
    // A modal box closes at once when it meets a pending quit; the user would never read
    // the error. Hold the terminate request back until the box is closed.
    MSG quit;
    const bool quitPending = ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    ::MessageBoxW(MessageBoxOwner(handle_.get()), common::AnsiToWide(error.what()).c_str(),
                  common::AnsiToWide(title_).c_str(), MB_ICONERROR | MB_OK);
    if (quitPending) ::PostQuitMessage(static_cast<int>(quit.wParam));
}

void ShowUncaughtException(const std::exception& error) {
    const std::string exe = ExeFileName();
    const std::string text = std::string("Exception ") + ExceptionClassName(error) + " in module " +
                             exe.substr(ExtractFilePath(exe).size()) + ".\n" + error.what();
    ::MessageBoxW(nullptr, common::AnsiToWide(text).c_str(), L"Application Error",
                  MB_TASKMODAL | MB_ICONERROR | MB_OK);
}

}  // namespace winui

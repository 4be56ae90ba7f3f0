#include "startup/Unit1.h"

#include <windows.h>

#include <cstdio>

#include "common/unique_any.h"
#include "winui/Application.h"
#include "winui/FileUtils.h"

TForm1* Form1 = nullptr;

namespace {

const winui::TFormLayout kForm1Layout = {
    L"TForm1", L"Admin Set Permission Tools", 307, 58, L"MS Sans Serif", -11,
};

// The control's saved state: stream version 1.0 and its extent, handed over unchanged.
const BYTE kSetACL1State[] = {0x00, 0x00, 0x01, 0x00, 0x9E, 0x03, 0x00, 0x00,
                              0x9E, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

std::string OcxFileName;
std::string RegisterCommand;

// The registration tool gets this long to finish before the window needs the control.
constexpr DWORD kRegistrationWaitMs = 60000;

std::string FormatCommand(const char* format, const std::string& argument) {
    const int length = std::snprintf(nullptr, 0, format, argument.c_str());
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, argument.c_str());
    text.resize(static_cast<size_t>(length));
    return text;
}

// Starts the command line with its window hidden; the program is found by the usual
// search, the executable's own folder first. Empty when the launch fails.
common::unique_handle LaunchHidden(const std::string& commandLine) {
    std::string writable = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return common::unique_handle();
    }
    ::CloseHandle(process.hThread);
    return common::unique_handle(process.hProcess);
}

// Waits for the process to end while keeping this thread's messages flowing, up to the limit.
void WaitHandlingMessages(HANDLE process, DWORD limitMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= limitMs) return;
        const DWORD woke = ::MsgWaitForMultipleObjects(1, &process, FALSE, limitMs - elapsed, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) return;
        winui::Application->ProcessMessages();
    }
}

}  // namespace

TForm1::TForm1()
    : TForm(kForm1Layout),
      Button2(*this, {80, 16, 145, 25}, Button2ControlId, L"Set Program Permission"),
      SetACL1(*this, {8, 8, 32, 32}, std::vector<BYTE>(std::begin(kSetACL1State), std::end(kSetACL1State))) {
    OnCreate = [this](winui::TObject* sender) { FormCreate(sender); };
    Button2.OnClick = [this](winui::TObject* sender) { Button2Click(sender); };
}

void TForm1::FormCreate(winui::TObject*) {
    Button2Click(this);
    winui::Application->Terminate();
}

void TForm1::Button2Click(winui::TObject*) {
    SetProgramPermission();
    ConfigureParadoxDriver();
}

void RegisterAclControl() {
    OcxFileName = winui::IncludeTrailingBackslash(winui::ExtractFilePath(winui::ExeFileName())) + "SetACL.ocx";
    if (!winui::FileExists(OcxFileName)) return;
    RegisterCommand = FormatCommand("Regsvr32.exe /s \"%s\"", OcxFileName);
    const common::unique_handle registration = LaunchHidden(RegisterCommand);
    ::Sleep(500);
    winui::Application->ProcessMessages();
    ::Sleep(500);
    // The fixed second alone races the tool on a busy machine, and the window cannot be
    // built until the control is registered.
    if (registration) WaitHandlingMessages(registration.get(), kRegistrationWaitMs);
}

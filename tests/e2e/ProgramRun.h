#pragma once
// Runs Project1.exe from an application folder and answers its windows by script.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/uidriver/driver.h"

namespace e2e {

inline constexpr wchar_t kMainClass[] = L"TForm1";
inline constexpr wchar_t kMainCaption[] = L"Admin Set Permission Tools";
// Generous: a run registers the control and may wait for a slow registration tool.
inline constexpr DWORD kRunBoundMs = 120000;

struct RunResult {
    DWORD exitCode = STILL_ACTIVE;
    // Every window seen but the main window's moment on screen in a normal run.
    std::vector<uidriver::WindowRecord> dialogs;
    std::string seen;  // all windows, for failure messages
};

RunResult RunProgram(const std::wstring& exe, const std::vector<uidriver::Answer>& script);

// The genuine registration tool of the prefix, run silently; returns its exit code.
DWORD RunSystemRegsvr32(const std::wstring& arguments);

}  // namespace e2e

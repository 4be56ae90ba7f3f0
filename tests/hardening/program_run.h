#pragma once
// Lays out an application folder with the built program, control and engine, runs
// Project1.exe from it, and takes a fingerprint of what a run leaves behind.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace hardening {

inline constexpr wchar_t kKeyFolder[] = L"D:\\KEY-BASE";
inline constexpr DWORD kKeyFolderAttributes = 22;

// Project1.exe, SetACL.ocx, IDAPI32.dll with its settings file, and a sibling program.
void StageApplicationFolder(const std::wstring& folder);
// Registers the folder's SetACL.ocx and waits for it. The program registers it too,
// but gives the registration only a second: under a loaded machine the first run in
// a fresh prefix would otherwise depend on how fast the tool happens to be.
void RegisterControl(const std::wstring& folder);
using testfiles::RemoveTree;

struct RunOutcome {
    DWORD exitCode = STILL_ACTIVE;          // STILL_ACTIVE: stopped before it ended
    std::string windows;                    // the program's windows when it was stopped
    std::vector<std::string> messageBoxes;  // texts of the boxes answered with OK
};
// Runs Project1.exe from folder until it ends, at most two minutes. A message box
// stops the run unless answerMessageBoxes, when it is answered with OK and noted.
RunOutcome RunProgram(const std::wstring& folder, bool answerMessageBoxes = false);

// Attributes, owner, group and access list of the object, as one line.
std::string SecurityFingerprint(const std::wstring& path);
using testfiles::TempFolder;
// The value of an entry of the Paradox driver's section in the engine's settings file.
std::string ParadoxSetting(const std::wstring& folder, const std::string& name);

}  // namespace hardening

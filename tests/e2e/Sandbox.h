#pragma once
// Files, folders and access lists of the sandbox the end-to-end tests lay out.
#include <windows.h>

#include <string>

#include "tests/support/TestFiles.h"

namespace e2e {

// The build's copies of the program, the control, the engine and the test tools.
std::wstring PayloadFolder();
// The prefix's desktop: its "ROOT" folder is the folder prompt's root.
std::wstring DesktopFolder();

using testfiles::Attributes;
using testfiles::IsFile;
using testfiles::IsFolder;
using testfiles::MakeFolder;
using testfiles::ReadText;
using testfiles::RemoveTree;
using testfiles::TempFolder;
using testfiles::WithSlash;
using testfiles::WriteText;

void CopyPayload(const std::wstring& name, const std::wstring& folder, const std::wstring& as = {});

// What "Everyone" may do, from the folder's access list (Wine derives it from the Unix mode).
ACCESS_MASK EveryoneAccess(const std::wstring& path);
bool EveryoneHasFullAccess(const std::wstring& path);
// Gives "Everyone" read and execute only, as a new folder has; undoes an earlier run's grant.
void RestrictEveryone(const std::wstring& path);

// Moves the user's desktop folder to D:\Desktop while it lives: the shell then finds
// "ROOT" there. Restores the previous setting when it goes.
class DesktopOnSandboxDrive {
public:
    DesktopOnSandboxDrive();
    ~DesktopOnSandboxDrive();
    DesktopOnSandboxDrive(const DesktopOnSandboxDrive&) = delete;
    DesktopOnSandboxDrive& operator=(const DesktopOnSandboxDrive&) = delete;

private:
    std::wstring previous_;
};

}  // namespace e2e

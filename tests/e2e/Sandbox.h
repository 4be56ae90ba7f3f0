#pragma once
// Files, folders and access lists of the sandbox the end-to-end tests lay out.
#include <windows.h>

#include <string>

namespace e2e {

// The build's copies of the program, the control, the engine and the test tools.
std::wstring PayloadFolder();
// The prefix's desktop: its "ROOT" folder is the folder prompt's root.
std::wstring DesktopFolder();
std::wstring TempFolder();

// Adds a trailing backslash if missing.
std::wstring WithSlash(const std::wstring& folder);
void MakeFolder(const std::wstring& path);
// Deletes a folder with everything in it; links are removed, never followed.
void RemoveTree(const std::wstring& path);
void CopyPayload(const std::wstring& name, const std::wstring& folder, const std::wstring& as = {});
void WriteText(const std::wstring& path, const std::string& text);
std::string ReadText(const std::wstring& path);

bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);
DWORD Attributes(const std::wstring& path);

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

#pragma once
// The dialog routines the program uses: a plain message and the shell's folder browser.
#include <string>

namespace winui {

// A modal box with the text, no icon and a single OK button, captioned with the
// executable's file name without extension; no owner, no position of ours.
void ShowMessage(const std::wstring& text);

// The shell's folder browser, modal and without owner: file-system folders only, nothing
// preselected, rooted at what the desktop resolves `root` to (else the desktop itself).
// True with the chosen folder's path; false and an empty path on cancel or failure.
bool SelectDirectory(const std::string& instruction, const std::wstring& root, std::wstring& directory);

}  // namespace winui

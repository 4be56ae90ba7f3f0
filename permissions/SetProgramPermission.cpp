// The permission job: find the application folder, prepare the key folder, and have
// the ACL control grant Everyone full access to the key, application and temp folders.
#include <windows.h>

#include "common/text.h"
#include "permissions/JobPaths.h"
#include "startup/Unit1.h"
#include "winui/Application.h"
#include "winui/Dialogs.h"
#include "winui/FileUtils.h"

namespace {

// Probed in this order; the first one present marks the application folder.
const char* const kSiblingPrograms[] = {
    "Tarvo-Convoy.exe",
    "Tarvo_CHART3.exe",
    "Lumeo ORBIT (North+Central).exe",
};

constexpr DWORD kKeyBaseAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

bool HoldsSiblingProgram(const std::string& folder) {
    for (const char* name : kSiblingPrograms) {
        if (winui::FileExists(folder + name)) return true;
    }
    return false;
}

}  // namespace

void TForm1::SetProgramPermission() {
    ProgramDir = winui::IncludeTrailingBackslash(winui::ExtractFilePath(winui::Application->ExeName()));
    while (!HoldsSiblingProgram(ProgramDir)) {
        std::wstring chosen;
        if (!winui::SelectDirectory("Please select program directory.", L"ROOT", chosen)) {
            winui::Application->Terminate();
            return;
        }
        ProgramDir = winui::IncludeTrailingBackslash(common::WideToAnsi(chosen));
    }

    const std::string KeyBaseDir = permissions::KeyBaseDirFor(ProgramDir);
    const std::string tempDir = permissions::GetTempDir();
    // Failures here surface as the control's own report on the key folder's grant.
    winui::ForceDirectories(KeyBaseDir);
    // A key folder that someone planted as a link would pass the attributes on to the
    // folder behind it; the control refuses such a folder's grant and says so.
    const DWORD existing = ::GetFileAttributesA(KeyBaseDir.c_str());
    if (existing == INVALID_FILE_ATTRIBUTES || !(existing & FILE_ATTRIBUTE_REPARSE_POINT)) {
        ::SetFileAttributesA(KeyBaseDir.c_str(), kKeyBaseAttributes);
    }

    try {
        const std::string LogFileName = ProgramDir + "SetACLLog.txt";
        if (winui::FileExists(LogFileName)) ::DeleteFileA(LogFileName.c_str());
        const AclResult result = SetACL1.ChooseLogFile(common::AnsiToWide(LogFileName));
        if (result != 0) {
            winui::ShowMessage(SetACL1.ErrorText(result));
            return;
        }
        GrantFullAccess(KeyBaseDir);
        GrantFullAccess(ProgramDir);
        // Without a usable temp path there is no folder to name; that grant is skipped.
        if (!tempDir.empty()) GrantFullAccess(tempDir);
    } catch (...) {
        // A control that cannot be called at all leaves nothing to tell the user that
        // they could act on; the grants not yet made are skipped.
    }
}

void TForm1::GrantFullAccess(const std::string& path) {
    AclResult result = SetACL1.ChooseTarget(common::AnsiToWide(path), 1);
    if (result == 0) result = SetACL1.ChooseAction(1);
    if (result == 0) result = SetACL1.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1);
    if (result == 0) result = SetACL1.ApplyRequest();
    if (result != 0) winui::ShowMessage(SetACL1.ErrorText(result));
}

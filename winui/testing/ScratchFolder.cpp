#include "winui/testing/ScratchFolder.h"

#include <windows.h>

#include <string>

#include "common/unique_any.h"

namespace winui::testing {

namespace {
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    common::unique_hfind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find.get(), &entry));
    }
    find.reset();
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY);
    ::RemoveDirectoryA(folder.c_str());
}
}  // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::string(temp) + "scratch-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

bool ScratchFolder::WriteFile(const std::string& name, const std::string& content) const {
    common::unique_hfile file(::CreateFileA((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

}  // namespace winui::testing

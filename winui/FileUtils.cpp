#include "winui/FileUtils.h"

#include <windows.h>

namespace winui {

std::string ExtractFilePath(const std::string& fileName) {
    const auto cut = fileName.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : fileName.substr(0, cut + 1);
}

std::string IncludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string ExtractFileBaseName(const std::string& fileName) {
    std::string name = fileName.substr(ExtractFilePath(fileName).size());
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

bool FileExists(const std::string& fileName) {
    const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectories(const std::string& path) {
    std::string dir = path;
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    // A drive ("D:") or an empty name has no parent to create; it exists or it does not.
    if (dir.size() < 3 || DirectoryExists(dir)) return DirectoryExists(IncludeTrailingBackslash(dir));
    const std::string parent = ExtractFilePath(dir);
    if (parent.empty() || parent == dir) return false;
    if (!ForceDirectories(parent)) return false;
    return ::CreateDirectoryA(dir.c_str(), nullptr) != FALSE || DirectoryExists(dir);
}

std::string ExeFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace winui

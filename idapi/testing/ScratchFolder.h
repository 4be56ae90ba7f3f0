#pragma once
// Test helpers: a private folder per test, and whole-file reads and writes.
#include <string>
#include <vector>

namespace idapi::testing {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Full path of a file in the folder.
    std::wstring Path(const std::wstring& name) const;
    std::vector<std::wstring> FileNames() const;

private:
    std::wstring folder_;  // ends in a backslash
};

// The folder of the running executable, ending in a backslash.
std::wstring ExecutableFolder();

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
void CopyFileOrFail(const std::wstring& from, const std::wstring& to);

}  // namespace idapi::testing

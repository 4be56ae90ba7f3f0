#include "idapi/testing/ScratchFolder.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "common/unique_any.h"

namespace idapi::testing {

namespace {

std::runtime_error LastError(const char* what) {
    return std::runtime_error(std::string(what) + " failed, error " + std::to_string(::GetLastError()));
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH];
    if (::GetTempPathW(MAX_PATH, temp) == 0) throw LastError("GetTempPathW");
    folder_ = std::wstring(temp) + L"idapi-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter++) + L"\\";
    if (!::CreateDirectoryW(folder_.c_str(), nullptr)) throw LastError("CreateDirectoryW");
}

ScratchFolder::~ScratchFolder() {
    for (const std::wstring& name : FileNames()) ::DeleteFileW(Path(name).c_str());
    ::RemoveDirectoryW(folder_.c_str());
}

std::wstring ScratchFolder::Path(const std::wstring& name) const { return folder_ + name; }

std::vector<std::wstring> ScratchFolder::FileNames() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    common::unique_hfind find(::FindFirstFileW((folder_ + L"*").c_str(), &data));
    if (!find) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
    } while (::FindNextFileW(find.get(), &data));
    return names;
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) throw LastError("GetModuleFileNameW");
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string ReadFileBytes(const std::wstring& path) {
    common::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw LastError("CreateFileW (read)");
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read != 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    common::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw LastError("CreateFileW (write)");
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw LastError("WriteFile");
    }
}

void CopyFileOrFail(const std::wstring& from, const std::wstring& to) {
    if (!::CopyFileW(from.c_str(), to.c_str(), FALSE)) throw LastError("CopyFileW");
}

}  // namespace idapi::testing

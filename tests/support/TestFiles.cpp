#include "tests/support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/text.h"
#include "common/unique_any.h"

namespace testfiles {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::wstring& path) {
    throw std::runtime_error(what + " " + common::WideToAnsi(path) + ": error " + std::to_string(::GetLastError()));
}

}  // namespace

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

void MakeFolder(const std::wstring& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path), ignored);
    if (!IsFolder(path)) Fail("cannot create", path);
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    if (folder && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        common::unique_hfind find(::FindFirstFileW((WithSlash(path) + L"*").c_str(), &data));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..") RemoveTree(WithSlash(path) + name);
            } while (::FindNextFileW(find.get(), &data));
        }
    }
    if (folder ? !::RemoveDirectoryW(path.c_str()) : !::DeleteFileW(path.c_str())) Fail("cannot remove", path);
}

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream out{std::filesystem::path(path), std::ios::binary | std::ios::trunc};
    out << text;
    if (!out) Fail("cannot write", path);
}

std::string ReadText(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, path);
    return path;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsFile(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace testfiles

#include "bench/tree.h"

#include <windows.h>

#include <stdexcept>

#include "common/text.h"
#include "common/unique_any.h"

namespace bench {

namespace {

constexpr size_t kWideFolders = 1000;
constexpr size_t kDeepLevels = 100;

[[noreturn]] void Fail(const char* what, const std::wstring& path) {
    throw std::runtime_error(std::string(what) + " " + common::WideToAnsi(path) + " failed, error " +
                             std::to_string(::GetLastError()));
}

void MakeFolder(const std::wstring& path) {
    if (!::CreateDirectoryW(path.c_str(), nullptr)) Fail("creating", path);
}

void MakeFile(const std::wstring& path) {
    common::unique_hfile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("creating", path);
}

void WalkBelow(const std::wstring& folder, const std::function<void(const TreeObject&)>& visit) {
    WIN32_FIND_DATAW entry;
    common::unique_hfind find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) Fail("listing", folder);
    do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + entry.cFileName;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit({path, isFolder, false});
        if (isFolder) WalkBelow(path, visit);
    } while (::FindNextFileW(find.get(), &entry));
}

}  // namespace

size_t CreateTree(const std::wstring& root, const TreeLayout& layout) {
    MakeFolder(root);
    size_t objects = 1;
    const bool deep = layout.shape == TreeShape::Deep;
    const size_t folders = deep ? kDeepLevels : kWideFolders;
    const size_t perFolder = layout.files / folders;
    std::wstring folder = root;
    for (size_t f = 0; f < folders; ++f) {
        // One-letter names keep the deepest path inside MAX_PATH.
        folder = deep ? folder + L"\\d" : root + L"\\d" + std::to_wstring(f);
        MakeFolder(folder);
        for (size_t i = 0; i < perFolder; ++i) MakeFile(folder + L"\\f" + std::to_wstring(i));
        objects += 1 + perFolder;
    }
    return objects;
}

void WalkTree(const std::wstring& root, const std::function<void(const TreeObject&)>& visit) {
    visit({root, true, true});
    WalkBelow(root, visit);
}

}  // namespace bench

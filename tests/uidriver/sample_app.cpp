// A stand-in for the program under test, for the driver's own tests: shows, in the
// order given, a message box ("message") and a shell folder browser rooted at the
// desktop's "ROOT" ("browse"), and appends each answer as a line to the output file.
// Usage: sample_app.exe OUTPUT message|browse...
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/text.h"

namespace {

std::wstring Browse() {
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(&desktop))) return L"no desktop";
    PIDLIST_ABSOLUTE root = nullptr;
    wchar_t name[] = L"ROOT";
    desktop->ParseDisplayName(nullptr, nullptr, name, nullptr, reinterpret_cast<PIDLIST_RELATIVE*>(&root), nullptr);
    BROWSEINFOW bi{};
    bi.pidlRoot = root;
    bi.lpszTitle = L"Pick a folder.";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&bi);
    ::CoTaskMemFree(root);
    if (!chosen) return L"cancel";
    wchar_t path[MAX_PATH] = {};
    ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::ofstream out{std::filesystem::path(argv[1]), std::ios::app};
    for (int i = 2; i < argc; ++i) {
        const std::wstring action = argv[i];
        if (action == L"message")
            out << ::MessageBoxW(nullptr, L"Sample text.", L"Sample", MB_OK) << '\n';
        else if (action == L"browse")
            out << common::WideToAnsi(Browse()) << '\n';
        out.flush();
    }
    ::CoUninitialize();
    return 0;
}

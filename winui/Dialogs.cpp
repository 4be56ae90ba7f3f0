#include "winui/Dialogs.h"

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <memory>

#include "common/text.h"
#include "winui/FileUtils.h"

namespace winui {

namespace {
struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const noexcept { ::CoTaskMemFree(pidl); }
};
using unique_pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

unique_pidl ParseOnDesktop(const std::wstring& name) {
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(&desktop))) return nullptr;
    std::wstring buffer = name;  // ParseDisplayName takes a writable string
    ITEMIDLIST* pidl = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, buffer.data(), &eaten, &pidl, nullptr))) return nullptr;
    return unique_pidl(pidl);
}
}  // namespace

void ShowMessage(const std::wstring& text) {
    const std::wstring caption = common::AnsiToWide(ExtractFileBaseName(ExeFileName()));
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_DEFBUTTON1);
}

bool SelectDirectory(const std::string& instruction, const std::wstring& root, std::wstring& directory) {
    directory.clear();
    const unique_pidl rootPidl = ParseOnDesktop(root);
    const std::wstring title = common::AnsiToWide(instruction);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = nullptr;
    info.pidlRoot = rootPidl.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const unique_pidl chosen(::SHBrowseForFolderW(&info));
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(chosen.get(), path)) return false;
    directory = path;
    return true;
}

}  // namespace winui

#include "tests/e2e/Sandbox.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "common/text.h"
#include "common/unique_any.h"
#include "tests/uidriver/process.h"

namespace e2e {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::wstring& path) {
    throw std::runtime_error(what + " " + common::WideToAnsi(path) + ": error " + std::to_string(::GetLastError()));
}

// The rights a folder gets from Unix mode rwx for others, as Wine reports them.
constexpr ACCESS_MASK kFullAccess = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;

}  // namespace

std::wstring PayloadFolder() { return E2E_PAYLOAD; }

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, path);
    return path;
}

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

void MakeFolder(const std::wstring& path) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path), ignored);
    if (!IsFolder(path)) Fail("cannot create", path);
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        common::unique_hfind find(::FindFirstFileW((WithSlash(path) + L"*").c_str(), &data));
        if (find) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..") RemoveTree(WithSlash(path) + name);
            } while (::FindNextFileW(find.get(), &data));
        }
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY ? !::RemoveDirectoryW(path.c_str()) : !::DeleteFileW(path.c_str()))
        Fail("cannot remove", path);
}

void CopyPayload(const std::wstring& name, const std::wstring& folder, const std::wstring& as) {
    const std::wstring target = WithSlash(folder) + (as.empty() ? name : as);
    if (!::CopyFileW((PayloadFolder() + name).c_str(), target.c_str(), FALSE))
        Fail("cannot copy " + common::WideToAnsi(name) + " to", target);
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

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsFile(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

ACCESS_MASK EveryoneAccess(const std::wstring& path) {
    PACL dacl = nullptr;
    common::unique_hlocal descriptor;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put())) != ERROR_SUCCESS ||
        dacl == nullptr)
        return 0;
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    ACCESS_MASK allowed = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allow = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (::EqualSid(&allow->SidStart, everyone)) allowed |= allow->Mask;
    }
    return allowed;
}

bool EveryoneHasFullAccess(const std::wstring& path) {
    const ACCESS_MASK mask = EveryoneAccess(path);
    return mask == FILE_ALL_ACCESS || (mask & kFullAccess) == kFullAccess;
}

void RestrictEveryone(const std::wstring& path) {
    common::unique_hlocal descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;OW)(A;OICI;0x1200a9;;;WD)", SDDL_REVISION_1,
            reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()), nullptr))
        Fail("cannot build an access list for", path);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ::GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted);
    std::vector<wchar_t> name(path.begin(), path.end());
    name.push_back(L'\0');
    const DWORD err = ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                              dacl, nullptr);
    if (err != ERROR_SUCCESS) {
        ::SetLastError(err);
        Fail("cannot restrict", path);
    }
}

namespace {
constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}

DesktopOnSandboxDrive::DesktopOnSandboxDrive() {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kShellFolders, L"Desktop", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                       nullptr, value, &size) == ERROR_SUCCESS)
        previous_ = value;
    const std::wstring desktop = L"D:\\Desktop";
    MakeFolder(desktop);
    const auto bytes = static_cast<DWORD>((desktop.size() + 1) * sizeof(wchar_t));
    if (::RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Desktop", REG_EXPAND_SZ, desktop.c_str(), bytes) !=
        ERROR_SUCCESS)
        Fail("cannot move the desktop to", desktop);
}

DesktopOnSandboxDrive::~DesktopOnSandboxDrive() {
    if (previous_.empty()) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Desktop");
        return;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Desktop", REG_EXPAND_SZ, previous_.c_str(),
                      static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
}

}  // namespace e2e

#include "tests/e2e/Sandbox.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

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

void CopyPayload(const std::wstring& name, const std::wstring& folder, const std::wstring& as) {
    const std::wstring target = WithSlash(folder) + (as.empty() ? name : as);
    if (!::CopyFileW((PayloadFolder() + name).c_str(), target.c_str(), FALSE))
        Fail("cannot copy " + common::WideToAnsi(name) + " to", target);
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

#include "tests/hardening/acl_probe.h"

#include <windows.h>
#include <aclapi.h>

#include "common/unique_any.h"

namespace hardening {

namespace {

constexpr ACCESS_MASK kFullAsWineShowsIt =
    FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE | FILE_DELETE_CHILD;

ACCESS_MASK MapGeneric(ACCESS_MASK mask) {
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    ::MapGenericMask(&mask, &mapping);
    return mask;
}

}  // namespace

bool EveryoneHasFullAccess(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetNamedSecurityInfoW(ExtendedPath(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS) {
        return false;
    }
    const common::unique_hlocal holder(sd);
    if (dacl == nullptr) return true;  // no list at all: everyone may do everything

    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(everyone);
    if (!::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size)) return false;

    ACCESS_MASK allowed = 0, denied = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(dacl, i, &ace)) return false;
        const auto* header = static_cast<ACE_HEADER*>(ace);
        if (header->AceFlags & INHERIT_ONLY_ACE) continue;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            const auto* a = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            if (::EqualSid(const_cast<DWORD*>(&a->SidStart), everyone)) allowed |= MapGeneric(a->Mask) & ~denied;
        } else if (header->AceType == ACCESS_DENIED_ACE_TYPE) {
            const auto* d = static_cast<ACCESS_DENIED_ACE*>(ace);
            if (::EqualSid(const_cast<DWORD*>(&d->SidStart), everyone)) denied |= MapGeneric(d->Mask) & ~allowed;
        }
    }
    return (allowed & kFullAsWineShowsIt) == kFullAsWineShowsIt;
}

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.rfind(L"\\\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

std::vector<TreeEntry> ListTree(const std::wstring& root) {
    std::vector<TreeEntry> entries;
    std::vector<std::wstring> pending{root};
    while (!pending.empty()) {
        const std::wstring folder = pending.back();
        pending.pop_back();
        WIN32_FIND_DATAW data;
        common::unique_hfind find(::FindFirstFileW(ExtendedPath(folder + L"\\*").c_str(), &data));
        if (!find) continue;
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            TreeEntry entry{folder + L"\\" + name, (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
            if (entry.isFolder && !entry.isLink) pending.push_back(entry.path);
            entries.push_back(std::move(entry));
        } while (::FindNextFileW(find.get(), &data));
    }
    return entries;
}

}  // namespace hardening

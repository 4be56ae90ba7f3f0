#include "setacl/engine/ObjectAccess.h"

#include <sddl.h>

#include "setacl/engine/ResultCode.h"

namespace setacl {

std::wstring LongPath(const std::wstring& path, DWORD& error) {
    constexpr size_t kMaxPath = 32767;  // the platform's limit; longer ones crash Wine's path functions
    error = path.empty() || path.find(L'\0') != std::wstring::npos ? ERROR_INVALID_NAME
            : path.size() > kMaxPath                                ? ERROR_FILENAME_EXCED_RANGE
                                                                    : ERROR_SUCCESS;
    if (error != ERROR_SUCCESS) return {};
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    const DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(n, L'\0');
    const DWORD m = n == 0 ? 0 : ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (m == 0 || m >= n || m > kMaxPath - 8) {
        error = m == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE;
        if (error == ERROR_SUCCESS) error = ERROR_INVALID_NAME;
        return {};
    }
    full.resize(m);
    if (full.compare(0, 4, L"\\\\.\\") == 0) return full;  // a device: no prefix makes it a file
    while (full.size() > 3 && full.back() == L'\\') full.pop_back();
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring DisplayPath(const std::wstring& longPath) {
    if (longPath.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + longPath.substr(8);
    if (longPath.compare(0, 4, L"\\\\?\\") == 0) return longPath.substr(4);
    return longPath;
}

common::unique_hfile OpenObject(const std::wstring& longPath, bool folder) {
    const DWORD access = READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES |
                         (folder ? FILE_LIST_DIRECTORY | SYNCHRONIZE : 0);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (folder ? 0 : FILE_SHARE_DELETE);
    return common::unique_hfile(::CreateFileW(longPath.c_str(), access, share, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::wstring_view ResolvedPath(HANDLE object, std::vector<BYTE>& buffer) {
    constexpr size_t kSize = sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t);
    if (buffer.size() < kSize) buffer.resize(kSize);
    if (!::GetFileInformationByHandleEx(object, FileNameInfo, buffer.data(), static_cast<DWORD>(buffer.size())))
        return {};
    auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer.data());
    return std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

std::wstring_view VolumePart(const std::wstring& longPath) {
    std::wstring_view p(longPath);
    if (p.compare(0, 8, L"\\\\?\\UNC\\") == 0) return p.substr(7);
    if (p.compare(0, 4, L"\\\\?\\") == 0) p.remove_prefix(4);
    if (p.size() >= 2 && p[1] == L':') p.remove_prefix(2);
    return p;
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring_view WithoutTrailingSeparators(std::wstring_view path) {
    while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    return path;
}

bool LeadsTo(std::wstring_view resolved, std::wstring_view named) {
    resolved = WithoutTrailingSeparators(resolved);
    named = WithoutTrailingSeparators(named);
    // `named` starts with a separator (or is a drive root), so a match ends on a name boundary.
    return resolved.size() >= named.size() && SamePath(resolved.substr(resolved.size() - named.size()), named);
}

DWORD KeepReadOnly(HANDLE object, DWORD attributesBefore) {
    if (!(attributesBefore & FILE_ATTRIBUTE_READONLY)) return ERROR_SUCCESS;
    FILE_BASIC_INFO basic;
    if (!::GetFileInformationByHandleEx(object, FileBasicInfo, &basic, sizeof basic)) return ::GetLastError();
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) return ERROR_SUCCESS;
    const DWORD attributes = basic.FileAttributes | FILE_ATTRIBUTE_READONLY;
    basic = FILE_BASIC_INFO{};  // zero times: left as they are
    basic.FileAttributes = attributes;
    if (!::SetFileInformationByHandle(object, FileBasicInfo, &basic, sizeof basic)) return ::GetLastError();
    return ERROR_SUCCESS;
}

DWORD ReadDacl(HANDLE object, std::vector<BYTE>& buffer, ObjectDacl& out) {
    if (buffer.size() < 512) buffer.resize(512);
    for (;;) {
        DWORD needed = 0;
        if (::GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, buffer.data(),
                                      static_cast<DWORD>(buffer.size()), &needed))
            break;
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return error;
        buffer.resize(needed);
    }
    return ParseDacl(buffer.data(), out);
}

DWORD ParseDacl(PSECURITY_DESCRIPTOR descriptor, ObjectDacl& out) {
    out.descriptor = descriptor;
    DWORD revision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    if (!::GetSecurityDescriptorControl(out.descriptor, &out.control, &revision) ||
        !::GetSecurityDescriptorDacl(out.descriptor, &present, &acl, &defaulted))
        return ::GetLastError();
    if (present && acl && !::IsValidAcl(acl)) return ERROR_INVALID_ACL;
    out.acl = present ? acl : nullptr;
    return ERROR_SUCCESS;
}

DWORD WriteDacl(HANDLE object, const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control) {
    SECURITY_DESCRIPTOR sd;
    constexpr SECURITY_DESCRIPTOR_CONTROL kKept = SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED;
    if (!::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorDacl(&sd, TRUE, const_cast<ACL*>(acl), FALSE) ||
        !::SetSecurityDescriptorControl(&sd, kKept, control & kKept) ||
        !::SetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, &sd))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

std::wstring DaclToSddl(PSECURITY_DESCRIPTOR descriptor) {
    LPWSTR text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                 DACL_SECURITY_INFORMATION, &text, nullptr))
        return L"(not readable)";
    common::unique_hlocal owner(text);
    return text;
}

std::wstring DaclToSddl(const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control) {
    SECURITY_DESCRIPTOR sd;
    constexpr SECURITY_DESCRIPTOR_CONTROL kKept = SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED;
    if (!::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorDacl(&sd, TRUE, const_cast<ACL*>(acl), FALSE) ||
        !::SetSecurityDescriptorControl(&sd, kKept, control & kKept))
        return L"(not readable)";
    return DaclToSddl(&sd);
}

std::wstring ErrorMessage(DWORD error) { return DescribeResult(FromWin32(error), {}); }

}  // namespace setacl

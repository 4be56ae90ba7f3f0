#pragma once
// Opening file-system objects without following links, and reading and writing their
// access lists through that same handle.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/unique_any.h"

namespace setacl {

// "\\?\" form of a full path, so that paths beyond MAX_PATH work; no trailing backslash
// except at a drive root. Empty, with `error` set, when the path is not one the platform
// can take whole (an embedded NUL would silently name another object).
std::wstring LongPath(const std::wstring& path, DWORD& error);
// The path as the user knows it, for the log and the error texts.
std::wstring DisplayPath(const std::wstring& longPath);

// Never follows a reparse point. A folder is opened so that it can be listed and cannot
// be renamed or deleted while it is open, which pins the path of everything below it.
common::unique_hfile OpenObject(const std::wstring& longPath, bool folder);

// Where the open object really lies on its volume ("\\dir\\file"), as the platform
// resolved it: shows where a link led even where the platform hides the link itself
// (Wine reports no reparse point for a symbolic link to a file). `buffer` is reused.
std::wstring_view ResolvedPath(HANDLE object, std::vector<BYTE>& buffer);
// The same part of a long path, to compare with ResolvedPath.
std::wstring_view VolumePart(const std::wstring& longPath);
bool SamePath(std::wstring_view a, std::wstring_view b);
// Whether `resolved` is `named` or ends in it: a mapped or substituted drive starts deeper
// in its volume than its letter shows, so only the part the caller named is compared.
bool LeadsTo(std::wstring_view resolved, std::wstring_view named);
std::wstring_view WithoutTrailingSeparators(std::wstring_view path);

// Sets the read-only attribute again where writing the access list cleared it (Wine keeps
// both in the same permission bits). Returns a Win32 error code.
DWORD KeepReadOnly(HANDLE object, DWORD attributesBefore);

struct ObjectDacl {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    const ACL* acl = nullptr;  // null: the object has no access list
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool Protected() const { return (control & SE_DACL_PROTECTED) != 0; }
};

// Reads into `buffer` (its capacity is reused); returns a Win32 error code.
DWORD ReadDacl(HANDLE object, std::vector<BYTE>& buffer, ObjectDacl& out);
DWORD ParseDacl(PSECURITY_DESCRIPTOR descriptor, ObjectDacl& out);
// Writes exactly this list: no propagation by the platform, which the caller does itself.
DWORD WriteDacl(HANDLE object, const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control);

std::wstring DaclToSddl(PSECURITY_DESCRIPTOR descriptor);
std::wstring DaclToSddl(const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control);

// The platform's message for a Win32 error, on one line.
std::wstring ErrorMessage(DWORD error);

}  // namespace setacl

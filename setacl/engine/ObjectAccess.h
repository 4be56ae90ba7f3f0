#pragma once
// Opening file-system objects without following links, and reading and writing their
// access lists through that same handle.
#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_any.h"

namespace setacl {

// "\\?\" form of a full path, so that paths beyond MAX_PATH work; no trailing backslash
// except at a drive root. Empty when the path cannot be made full.
std::wstring LongPath(const std::wstring& path);
// The path as the user knows it, for the log and the error texts.
std::wstring DisplayPath(const std::wstring& longPath);

// Never follows a reparse point. A folder is opened so that it can be listed and cannot
// be renamed or deleted while it is open, which pins the path of everything below it.
common::unique_hfile OpenObject(const std::wstring& longPath, bool folder);

struct ObjectDacl {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    const ACL* acl = nullptr;  // null: the object has no access list
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool Protected() const { return (control & SE_DACL_PROTECTED) != 0; }
};

// Reads into `buffer` (its capacity is reused); returns a Win32 error code.
DWORD ReadDacl(HANDLE object, std::vector<BYTE>& buffer, ObjectDacl& out);
// Writes exactly this list: no propagation by the platform, which the caller does itself.
DWORD WriteDacl(HANDLE object, const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control);

std::wstring DaclToSddl(PSECURITY_DESCRIPTOR descriptor);
std::wstring DaclToSddl(const ACL* acl, SECURITY_DESCRIPTOR_CONTROL control);

// The platform's message for a Win32 error, on one line.
std::wstring ErrorMessage(DWORD error);

}  // namespace setacl

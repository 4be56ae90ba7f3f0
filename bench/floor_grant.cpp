#include "bench/floor_grant.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "bench/tree.h"
#include "common/text.h"
#include "common/unique_any.h"

namespace bench {

namespace {

[[noreturn]] void Fail(const char* what, const std::wstring& path, DWORD error) {
    throw std::runtime_error(std::string(what) + " " + common::WideToAnsi(path) + " failed, error " +
                             std::to_string(error));
}

class EveryoneSid {
public:
    EveryoneSid() {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid_))
            throw std::runtime_error("AllocateAndInitializeSid failed");
    }
    ~EveryoneSid() { ::FreeSid(sid_); }
    EveryoneSid(const EveryoneSid&) = delete;
    EveryoneSid& operator=(const EveryoneSid&) = delete;
    PSID get() const noexcept { return sid_; }

private:
    PSID sid_ = nullptr;
};

// The object's list with the Everyone entry added: in front when it is explicit
// (the root's), behind the object's own entries when it is inherited.
std::vector<BYTE> WithEveryone(const ACL* old, PSID everyone, BYTE flags) {
    const DWORD aceSize = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(everyone);
    std::vector<BYTE> buffer((old ? old->AclSize : sizeof(ACL)) + aceSize);
    auto* acl = reinterpret_cast<ACL*>(buffer.data());
    ::InitializeAcl(acl, static_cast<DWORD>(buffer.size()), ACL_REVISION);
    const bool inherited = (flags & INHERITED_ACE) != 0;
    if (!inherited) ::AddAccessAllowedAceEx(acl, ACL_REVISION, flags, FILE_ALL_ACCESS, everyone);
    for (DWORD i = 0; old && i < old->AceCount; ++i) {
        void* ace = nullptr;
        if (::GetAce(const_cast<ACL*>(old), i, &ace))
            ::AddAce(acl, ACL_REVISION, MAXDWORD, ace, static_cast<ACE_HEADER*>(ace)->AceSize);
    }
    if (inherited) ::AddAccessAllowedAceEx(acl, ACL_REVISION, flags, FILE_ALL_ACCESS, everyone);
    return buffer;
}

}  // namespace

size_t FloorGrant(const std::wstring& root) {
    const EveryoneSid everyone;
    std::vector<BYTE> descriptor(512);
    size_t objects = 0;
    WalkTree(root, [&](const TreeObject& object) {
        common::unique_hfile handle(::CreateFileW(object.path.c_str(), READ_CONTROL | WRITE_DAC,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!handle) Fail("opening", object.path, ::GetLastError());

        // The kernel-object calls, not GetSecurityInfo/SetSecurityInfo: under Wine
        // SetSecurityInfo also opens the parent and reads its list on every call,
        // which makes it many times dearer than the write itself.
        DWORD needed = 0;
        while (!::GetKernelObjectSecurity(handle.get(), DACL_SECURITY_INFORMATION, descriptor.data(),
                                          static_cast<DWORD>(descriptor.size()), &needed)) {
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) Fail("reading the security of", object.path, ::GetLastError());
            descriptor.resize(needed);
        }
        BOOL present = FALSE;
        BOOL defaulted = FALSE;
        ACL* dacl = nullptr;
        ::GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted);

        const BYTE inheritance = object.isFolder ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0;
        std::vector<BYTE> acl = WithEveryone(present ? dacl : nullptr, everyone.get(),
                                             object.isRoot ? inheritance : inheritance | INHERITED_ACE);
        SECURITY_DESCRIPTOR written;
        ::InitializeSecurityDescriptor(&written, SECURITY_DESCRIPTOR_REVISION);
        ::SetSecurityDescriptorDacl(&written, TRUE, reinterpret_cast<ACL*>(acl.data()), FALSE);
        ::SetSecurityDescriptorControl(&written, SE_DACL_AUTO_INHERITED, SE_DACL_AUTO_INHERITED);
        if (!::SetKernelObjectSecurity(handle.get(), DACL_SECURITY_INFORMATION, &written))
            Fail("writing the security of", object.path, ::GetLastError());
        ++objects;
    });
    return objects;
}

}  // namespace bench

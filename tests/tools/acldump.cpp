// Prints, for each path given, its attributes and its access list in SDDL.
// Usage: acldump.exe PATH...
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>

#include "common/text.h"
#include "common/unique_any.h"

namespace {

void Print(const wchar_t* path) {
    std::printf("%s\n", common::WideToAnsi(path).c_str());
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        std::printf("  missing (error %lu)\n", ::GetLastError());
        return;
    }
    std::printf("  attributes: %lu (0x%lx)\n", attributes, attributes);
    PACL dacl = nullptr;
    common::unique_hlocal descriptor;
    const DWORD err = ::GetNamedSecurityInfoW(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                              &dacl, nullptr, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()));
    if (err != ERROR_SUCCESS) {
        std::printf("  access list unreadable (error %lu)\n", err);
        return;
    }
    common::unique_hlocal sddl;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.get(), SDDL_REVISION_1,
                                                                DACL_SECURITY_INFORMATION,
                                                                reinterpret_cast<LPWSTR*>(sddl.put()), nullptr)) {
        std::printf("  access list not convertible (error %lu)\n", ::GetLastError());
        return;
    }
    std::printf("  access: %s\n", common::WideToAnsi(static_cast<const wchar_t*>(sddl.get())).c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) Print(argv[i]);
    return argc > 1 ? 0 : 2;
}

#include "permissions/JobPaths.h"

#include <windows.h>

namespace permissions {

std::string KeyBaseDirFor(const std::string& programDir) { return programDir.substr(0, 1) + ":\\KEY-BASE"; }

std::string GetTempDir() {
    char buffer[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    // A result of MAX_PATH or more is the size the path would need: the buffer holds nothing usable.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(buffer, length);
}

}  // namespace permissions

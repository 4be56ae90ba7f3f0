#pragma once
// Paths the permission job derives from the application folder and the platform.
#include <string>

namespace permissions {

// The key folder on the application folder's drive: its first character, whatever it
// is, followed by ":\KEY-BASE".
std::string KeyBaseDirFor(const std::string& programDir);

// The user's temporary folder as the platform reports it; empty when the platform
// cannot report it or the path does not fit the 260-character buffer.
std::string GetTempDir();

}  // namespace permissions

#pragma once
// Reading back what a grant left on a file or folder, as the platform reports it.
#include <string>
#include <vector>

namespace hardening {

// True when the built-in group Everyone may read, write, execute and delete the object.
// Wine rebuilds access lists from Unix permission bits, which carry no right to change
// the list or the owner; full access is therefore judged without those two rights.
bool EveryoneHasFullAccess(const std::wstring& path);

// "\\?\" form of an absolute drive path, so that paths past 260 characters open.
std::wstring ExtendedPath(const std::wstring& path);

// Every object under root (root excluded), depth first, without entering links.
struct TreeEntry {
    std::wstring path;  // as root was given, joined with "\"
    bool isLink;
    bool isFolder;
};
std::vector<TreeEntry> ListTree(const std::wstring& root);

}  // namespace hardening

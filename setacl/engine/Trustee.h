#pragma once
// Turns a trustee as the caller names it into a SID.
#include <windows.h>

#include <string>
#include <vector>

namespace setacl {

// Well-known groups and accounts resolve through a table of well-known SIDs, so the
// English names work on every system language; other names go to the account database.
// Returns an empty SID when the name is unknown.
std::vector<BYTE> SidFromName(const std::wstring& name);

// A SID string in its standard form ("S-1-1-0"); empty when it is not one.
std::vector<BYTE> SidFromString(const std::wstring& text);

// "S-1-1-0" for the log.
std::wstring SidToString(const std::vector<BYTE>& sid);

}  // namespace setacl

#pragma once
// The control's identifiers, as its type library and registration publish them.
#include <windows.h>

namespace setacl {

extern const CLSID CLSID_SetACL;
extern const IID DIID_DSetACL;
extern const IID DIID_DSetACLEvents;
extern const GUID LIBID_SETACLLib;

constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;

}  // namespace setacl

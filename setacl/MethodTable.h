#pragma once
// The methods of the dispatch interface: names, dispatch IDs and argument counts,
// as the type library declares them.
#include <windows.h>
#include <oaidl.h>

namespace setacl {

enum MethodId : DISPID {
    kChooseTarget = 2,
    kAddAccessEntry = 8,
    kChooseAction = 14,
    kChooseLogFile = 15,
    kApplyRequest = 16,
    kErrorText = 17,
};

struct MethodInfo {
    const wchar_t* name;
    DISPID id;
    UINT argCount;
};

const MethodInfo* FindMethod(DISPID id) noexcept;
// Names compare without regard to case, as automation clients expect.
const MethodInfo* FindMethod(const wchar_t* name) noexcept;

}  // namespace setacl

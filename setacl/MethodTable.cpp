#include "setacl/MethodTable.h"

namespace setacl {

namespace {

const MethodInfo kMethods[] = {
    {L"ChooseTarget", kChooseTarget, 2},
    {L"AddAccessEntry", kAddAccessEntry, 7},
    {L"ChooseAction", kChooseAction, 1},
    {L"ChooseLogFile", kChooseLogFile, 1},
    {L"ApplyRequest", kApplyRequest, 0},
    {L"ErrorText", kErrorText, 1},
};

}  // namespace

const MethodInfo* FindMethod(DISPID id) noexcept {
    for (const MethodInfo& method : kMethods) {
        if (method.id == id) return &method;
    }
    return nullptr;
}

const MethodInfo* FindMethod(const wchar_t* name) noexcept {
    if (name == nullptr) return nullptr;
    for (const MethodInfo& method : kMethods) {
        if (CompareStringOrdinal(method.name, -1, name, -1, TRUE) == CSTR_EQUAL) return &method;
    }
    return nullptr;
}

}  // namespace setacl

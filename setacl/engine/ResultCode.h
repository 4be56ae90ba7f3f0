#pragma once
// The control's own result codes. Platform failures are returned as
// HRESULT_FROM_WIN32 values instead, which never collide with these.
#include <cstdint>
#include <string>

namespace setacl {

enum ResultCode : int32_t {
    kOk = 0,
    kNoTarget = 1,
    kBadObjectKind = 2,
    kEmptyPath = 3,
    kBadAction = 4,
    kNoAction = 5,
    kUnknownTrustee = 6,
    kBadSid = 7,
    kBadPermission = 8,
    kBadInheritance = 9,
    kBadMode = 10,
    kBadList = 11,
    kNoEntries = 12,
    kTargetIsLink = 13,
    kTargetHardLinked = 14,
    kTargetHasNoDacl = 15,
    kTargetChanged = 16,
    kDescendantsFailed = 17,
};

// A text for any code. `detail` is what the failing call knew: the object or the
// rejected value; empty when the code did not come from this request.
std::wstring DescribeResult(int32_t code, const std::wstring& detail);

// The platform's code as the control returns it.
int32_t FromWin32(unsigned long error);

}  // namespace setacl

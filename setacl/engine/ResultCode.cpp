#include "setacl/engine/ResultCode.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

namespace setacl {

namespace {

struct CodeText {
    int32_t code;
    const wchar_t* text;     // without detail
    const wchar_t* detailed; // %ls is the detail
};

constexpr CodeText kTexts[] = {
    {kOk, L"The operation completed successfully.", L"The operation completed successfully."},
    {kNoTarget, L"No target has been chosen: call ChooseTarget first.",
     L"No target has been chosen: call ChooseTarget before %ls."},
    {kBadObjectKind, L"The object kind is not supported: only 1 (a file or folder) is.",
     L"The object kind %ls is not supported: only 1 (a file or folder) is."},
    {kEmptyPath, L"The path is empty.", L"The path is empty (%ls)."},
    {kBadAction, L"The action is not supported: only 1 (add access entries) is.",
     L"The action %ls is not supported: only 1 (add access entries) is."},
    {kNoAction, L"No action has been chosen: call ChooseAction(1) before AddAccessEntry.",
     L"No action has been chosen for %ls: call ChooseAction(1) before AddAccessEntry."},
    {kUnknownTrustee, L"The trustee is not a known account or group.",
     L"The trustee \"%ls\" is not a known account or group."},
    {kBadSid, L"The trustee is not a valid SID string (such as S-1-1-0).",
     L"The trustee \"%ls\" is not a valid SID string (such as S-1-1-0)."},
    {kBadPermission, L"The permission is not supported: use Full, Change or Read.",
     L"The permission \"%ls\" is not supported: use Full, Change or Read."},
    {kBadInheritance,
     L"The inheritance is not supported: use 0 (this object only), 1 (files), 2 (subfolders) or 3 (both).",
     L"The inheritance %ls is not supported: use 0 (this object only), 1 (files), 2 (subfolders) or 3 (both)."},
    {kBadMode, L"The mode is not supported: use 1 (set) or 2 (grant).",
     L"The mode %ls is not supported: use 1 (set) or 2 (grant)."},
    {kBadList, L"The access list is not supported: only 1 (the DACL) is.",
     L"The access list %ls is not supported: only 1 (the DACL) is."},
    {kNoEntries, L"The request has no access entries: call AddAccessEntry before ApplyRequest.",
     L"The request on %ls has no access entries: call AddAccessEntry before ApplyRequest."},
    {kTargetIsLink, L"The target is a link or junction (reparse point), or lies behind one; it was left unchanged.",
     L"The target %ls is a link or junction (reparse point), or lies behind one; it was left unchanged."},
    {kTargetHardLinked, L"The target is a file with more than one hard link; it was left unchanged.",
     L"The target %ls is a file with more than one hard link; it was left unchanged."},
    {kTargetHasNoDacl, L"The target has no access list (everyone has full access); it was left unchanged.",
     L"The target %ls has no access list (everyone has full access); it was left unchanged."},
    {kTargetChanged, L"The target changed while it was being opened; it was left unchanged.",
     L"The target %ls changed while it was being opened; it was left unchanged."},
    {kDescendantsFailed, L"The target was updated, but some objects below it could not be; see the log.",
     L"%ls; see the log."},
};

std::wstring Format(const wchar_t* pattern, const std::wstring& detail) {
    std::wstring out(pattern);
    const size_t at = out.find(L"%ls");
    return at == std::wstring::npos ? out : out.replace(at, 3, detail);
}

}  // namespace

int32_t FromWin32(unsigned long error) {
    return static_cast<int32_t>(HRESULT_FROM_WIN32(error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error));
}

std::wstring DescribeResult(int32_t code, const std::wstring& detail) {
    for (const CodeText& t : kTexts) {
        if (t.code == code) return detail.empty() ? t.text : Format(t.detailed, detail);
    }
    std::wstring text;
    wchar_t* system = nullptr;
    // The message table holds Win32 errors by their plain number.
    const DWORD id = HRESULT_FACILITY(code) == FACILITY_WIN32 ? HRESULT_CODE(code) : static_cast<DWORD>(code);
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, id, 0, reinterpret_cast<wchar_t*>(&system), 0, nullptr);
    if (n != 0) {
        text.assign(system, n);
        ::LocalFree(system);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    }
    wchar_t number[64];
    std::swprintf(number, std::size(number), L"code %ld (0x%08lX)", static_cast<long>(code),
                  static_cast<unsigned long>(code));
    if (text.empty()) text = std::wstring(L"Unknown result ") + number + L".";
    else text += std::wstring(L" (") + number + L")";
    if (!detail.empty()) text += L" Object: " + detail + L".";
    return text;
}

}  // namespace setacl

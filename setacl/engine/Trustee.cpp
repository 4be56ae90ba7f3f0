#include "setacl/engine/Trustee.h"

#include <sddl.h>

#include "common/unique_any.h"

namespace setacl {

namespace {

struct WellKnownName {
    const wchar_t* name;
    WELL_KNOWN_SID_TYPE type;
};

// Names as the English system shows them, with and without their authority.
constexpr WellKnownName kWellKnown[] = {
    {L"Everyone", WinWorldSid},
    {L"Administrators", WinBuiltinAdministratorsSid},
    {L"BUILTIN\\Administrators", WinBuiltinAdministratorsSid},
    {L"Users", WinBuiltinUsersSid},
    {L"BUILTIN\\Users", WinBuiltinUsersSid},
    {L"Guests", WinBuiltinGuestsSid},
    {L"BUILTIN\\Guests", WinBuiltinGuestsSid},
    {L"Power Users", WinBuiltinPowerUsersSid},
    {L"BUILTIN\\Power Users", WinBuiltinPowerUsersSid},
    {L"Backup Operators", WinBuiltinBackupOperatorsSid},
    {L"BUILTIN\\Backup Operators", WinBuiltinBackupOperatorsSid},
    {L"Authenticated Users", WinAuthenticatedUserSid},
    {L"NT AUTHORITY\\Authenticated Users", WinAuthenticatedUserSid},
    {L"Interactive", WinInteractiveSid},
    {L"NT AUTHORITY\\INTERACTIVE", WinInteractiveSid},
    {L"SYSTEM", WinLocalSystemSid},
    {L"NT AUTHORITY\\SYSTEM", WinLocalSystemSid},
    {L"LOCAL SERVICE", WinLocalServiceSid},
    {L"NT AUTHORITY\\LOCAL SERVICE", WinLocalServiceSid},
    {L"NETWORK SERVICE", WinNetworkServiceSid},
    {L"NT AUTHORITY\\NETWORK SERVICE", WinNetworkServiceSid},
    {L"CREATOR OWNER", WinCreatorOwnerSid},
    {L"CREATOR GROUP", WinCreatorGroupSid},
};

std::vector<BYTE> CopySid(PSID sid) {
    auto* p = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(p, p + ::GetLengthSid(sid));
}

}  // namespace

std::vector<BYTE> SidFromName(const std::wstring& name) {
    for (const WellKnownName& known : kWellKnown) {
        if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), known.name, -1, TRUE) != CSTR_EQUAL)
            continue;
        std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
        DWORD size = static_cast<DWORD>(sid.size());
        if (!::CreateWellKnownSid(known.type, nullptr, sid.data(), &size)) return {};
        sid.resize(size);
        return sid;
    }
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD sidSize = static_cast<DWORD>(sid.size());
    wchar_t domain[256];
    DWORD domainSize = ARRAYSIZE(domain);
    SID_NAME_USE use;
    if (name.empty() || name.find(L'\0') != std::wstring::npos ||
        !::LookupAccountNameW(nullptr, name.c_str(), sid.data(), &sidSize, domain, &domainSize, &use))
        return {};
    sid.resize(::GetLengthSid(sid.data()));
    return sid;
}

std::vector<BYTE> SidFromString(const std::wstring& text) {
    PSID raw = nullptr;
    if (text.find(L'\0') != std::wstring::npos || !::ConvertStringSidToSidW(text.c_str(), &raw)) return {};
    common::unique_hlocal owner(raw);
    std::vector<BYTE> sid = CopySid(raw);
    // Some parsers stop early or drop parts ("S-1-1-0x" read as S-1-1-0): take only a SID
    // that reads back as the very text given.
    const std::wstring back = SidToString(sid);
    if (::CompareStringOrdinal(back.data(), static_cast<int>(back.size()), text.data(), static_cast<int>(text.size()),
                               TRUE) != CSTR_EQUAL)
        return {};
    return sid;
}

std::wstring SidToString(const std::vector<BYTE>& sid) {
    LPWSTR text = nullptr;
    if (sid.empty() || !::ConvertSidToStringSidW(const_cast<BYTE*>(sid.data()), &text)) return L"?";
    common::unique_hlocal owner(text);
    return text;
}

}  // namespace setacl

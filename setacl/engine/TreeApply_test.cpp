// The engine on a real tree on drive D:, built by tree_test.sh with real symbolic and
// hard links. Wine keeps only Unix permission bits, so what shows here is whether
// Everyone may write an object.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_any.h"
#include "setacl/engine/AclRequest.h"
#include "setacl/engine/ResultCode.h"

namespace setacl {
namespace {

const std::wstring kRoot = L"D:\\acl";
const std::wstring kTree = kRoot + L"\\tree";
const std::wstring kLog = kRoot + L"\\log.txt";

std::wstring LongFile() {
    std::wstring path = L"\\\\?\\" + kTree;
    for (int part = 1; part <= 3; ++part) path += L"\\long" + std::to_wstring(part) + L"-" + std::wstring(86, L'0');
    return path + L"\\file-" + std::wstring(85, L'0') + L".txt";
}

// The rights Everyone's allow entries give on the object.
ACCESS_MASK EveryoneRights(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    const DWORD error = ::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                                nullptr, &dacl, nullptr, &sd);
    EXPECT_EQ(error, ERROR_SUCCESS) << std::string(path.begin(), path.end());
    common::unique_hlocal owner(sd);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    ACCESS_MASK rights = 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ::GetAce(dacl, i, reinterpret_cast<void**>(&ace));
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ::EqualSid(&ace->SidStart, everyone)) rights |= ace->Mask;
    }
    return rights;
}

bool EveryoneMayWrite(const std::wstring& path) {
    return (EveryoneRights(path) & FILE_GENERIC_WRITE) == FILE_GENERIC_WRITE;
}

std::wstring ReadLog() {
    common::unique_hfile file(::CreateFileW(kLog.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(::GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          text.data(), static_cast<int>(text.size()))));
    return text;
}

size_t Count(const std::wstring& text, const std::wstring& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The program's four calls for one folder.
int32_t GrantEveryoneFull(AclRequest& request, const std::wstring& folder) {
    if (int32_t code = request.ChooseTarget(folder, 1)) return code;
    if (int32_t code = request.ChooseAction(1)) return code;
    if (int32_t code = request.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1)) return code;
    return request.ApplyRequest();
}

// Runs in order: the first grant, then the second run on the same tree.
TEST(TreeApply, GrantsEveryoneOnTheTreeAndNothingBeyondIt) {
    const std::vector<std::wstring> inherits = {kTree, kTree + L"\\a.txt", kTree + L"\\sub", kTree + L"\\sub\\b.txt",
                                                kTree + L"\\sub\\deep", kTree + L"\\sub\\deep\\c.txt",
                                                LongFile()};
    const std::vector<std::wstring> untouched = {kTree + L"\\hard.txt", kRoot + L"\\outside",
                                                 kRoot + L"\\outside\\secret.txt", kRoot + L"\\outside\\inner"};
    for (const auto& path : inherits) ASSERT_FALSE(EveryoneMayWrite(path)) << "tree not fresh: " << Narrow(path);

    std::vector<std::wstring> messages;
    AclRequest request([&](const std::wstring& line) { messages.push_back(line); });
    ASSERT_EQ(request.ChooseLogFile(kLog), 0);
    ASSERT_EQ(GrantEveryoneFull(request, kTree + L"\\"), 0) << Narrow(request.ErrorText(GrantEveryoneFull(request, kTree)));

    for (const auto& path : inherits) EXPECT_TRUE(EveryoneMayWrite(path)) << Narrow(path);
    for (const auto& path : untouched) EXPECT_FALSE(EveryoneMayWrite(path)) << Narrow(path);
    // Wine keeps the read-only attribute in the same bits as the access list: what shows
    // is that the file stayed read-only and its list was still written.
    const std::wstring readOnly = kTree + L"\\ro.txt";
    EXPECT_NE(::GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "read-only attribute lost";
    EXPECT_NE(EveryoneRights(readOnly) & FILE_EXECUTE, 0u);

    const std::wstring log = ReadLog();
    EXPECT_NE(log.find(L"Target D:\\acl\\tree: access list before: D:"), std::wstring::npos);
    EXPECT_NE(log.find(L"Target D:\\acl\\tree: access list after: D:"), std::wstring::npos);
    EXPECT_NE(log.find(L"skipped: D:\\acl\\tree\\sub\\link (link or junction, not followed)"), std::wstring::npos);
    EXPECT_NE(log.find(L"skipped: D:\\acl\\tree\\filelink.txt (link or junction, not followed)"), std::wstring::npos);
    EXPECT_NE(log.find(L"skipped: D:\\acl\\tree\\hard.txt (file with more than one hard link)"), std::wstring::npos);
    EXPECT_NE(log.find(L"changed: D:\\acl\\tree\\sub\\deep\\c.txt"), std::wstring::npos);
    EXPECT_NE(log.find(L"ApplyRequest() -> 0"), std::wstring::npos);
    EXPECT_EQ(Count(log, L"\r\n"), messages.size()) << "every log line goes to the sink as well";
    ASSERT_FALSE(messages.empty());
    // Every line starts with its timestamp: "YYYY-MM-DD hh:mm:ss.mmm".
    for (const auto& line : messages) {
        ASSERT_GT(line.size(), 25u);
        EXPECT_TRUE(line[4] == L'-' && line[10] == L' ' && line[13] == L':' && line[19] == L'.') << Narrow(line);
    }
}

// Wine cannot store the rights to change permissions and owner for Everyone, so "Full"
// never reads back as granted there; "Change" does, and shows that a request already
// carried out writes nothing.
TEST(TreeApply, SecondRunWritesNothing) {
    const std::wstring folder = kRoot + L"\\again";
    AclRequest request;
    ASSERT_EQ(request.ChooseLogFile(kLog), 0);
    auto run = [&] {
        const size_t before = ReadLog().size();
        EXPECT_EQ(request.ChooseTarget(folder, 1), 0);
        EXPECT_EQ(request.ChooseAction(1), 0);
        EXPECT_EQ(request.AddAccessEntry(L"Everyone", false, L"Change", 3, true, 2, 1), 0);
        EXPECT_EQ(request.ApplyRequest(), 0);
        return ReadLog().substr(before);
    };
    const std::wstring first = run();
    EXPECT_EQ(Count(first, L"(written)"), 1u) << Narrow(first);
    EXPECT_EQ(Count(first, L" changed: "), 3u) << Narrow(first);
    EXPECT_TRUE(EveryoneMayWrite(folder + L"\\sub\\g.txt"));
    const std::wstring second = run();
    EXPECT_EQ(Count(second, L"(written)"), 0u) << Narrow(second);
    EXPECT_EQ(Count(second, L" changed: "), 0u) << Narrow(second);
    EXPECT_EQ(Count(second, L"unchanged: "), 3u) << Narrow(second);
    EXPECT_NE(second.find(L"access list after: unchanged"), std::wstring::npos);
}

// Wine keeps Everyone's "Full" as 0x1301ff, so the target is written again; what the
// target showed it keeps is enough below, where nothing is written but the read-only
// file (Wine shows its read-only flag as no write access for anyone).
TEST(TreeApply, SecondFullRunWritesOnlyTheTarget) {
    const size_t before = ReadLog().size();
    AclRequest request;
    ASSERT_EQ(request.ChooseLogFile(kLog), 0);
    ASSERT_EQ(GrantEveryoneFull(request, kTree), 0);
    const std::wstring second = ReadLog().substr(before);
    EXPECT_LE(Count(second, L"(written)"), 1u) << Narrow(second);
    EXPECT_EQ(Count(second, L" changed: "), 1u) << Narrow(second);
    EXPECT_EQ(Count(second, L" changed: D:\\acl\\tree\\ro.txt"), 1u) << Narrow(second);
    EXPECT_NE(second.find(L"unchanged: D:\\acl\\tree\\sub\\deep\\c.txt"), std::wstring::npos) << Narrow(second);
}

TEST(TreeApply, GrantsOnADriveRoot) {
    AclRequest request;
    ASSERT_EQ(GrantEveryoneFull(request, L"R:\\"), 0) << Narrow(request.ErrorText(GrantEveryoneFull(request, L"R:\\")));
    EXPECT_TRUE(EveryoneMayWrite(L"R:\\f.txt"));
    EXPECT_TRUE(EveryoneMayWrite(L"R:\\sub\\g.txt"));
}

TEST(TreeApply, RefusesATargetThatIsALink) {
    AclRequest request;
    const int32_t code = GrantEveryoneFull(request, kRoot + L"\\treelink");
    EXPECT_EQ(code, kTargetIsLink);
    EXPECT_NE(request.ErrorText(code).find(L"D:\\acl\\treelink"), std::wstring::npos) << Narrow(request.ErrorText(code));
    EXPECT_FALSE(EveryoneMayWrite(kRoot + L"\\outside"));
}

TEST(TreeApply, ReportsObjectsBelowThatCannotBeUpdated) {
    // Held open without sharing, the folder cannot be opened by the walk.
    common::unique_hfile held(::CreateFileW(std::wstring(kRoot + L"\\busy\\locked").c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(held);
    AclRequest request;
    const int32_t code = GrantEveryoneFull(request, kRoot + L"\\busy");
    EXPECT_EQ(code, kDescendantsFailed);
    EXPECT_EQ(request.ErrorText(code), L"D:\\acl\\busy was updated, but 1 object below it could not be; see the log.");
    EXPECT_TRUE(EveryoneMayWrite(kRoot + L"\\busy"));
}

}  // namespace
}  // namespace setacl

// The request's arguments, their order, the texts for codes and the log, without
// touching drive D:.
#include "setacl/engine/AclRequest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setacl/engine/ObjectAccess.h"
#include "setacl/engine/ResultCode.h"
#include "setacl/engine/Trustee.h"

namespace setacl {
namespace {

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::wstring TempPath(const std::wstring& name) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return dir + name;
}

struct BadCall {
    const char* name;
    int32_t (*call)(AclRequest&);
    int32_t code;
    const wchar_t* inText;  // the rejected value, named in ErrorText
};

// Each call after a valid ChooseTarget("...", 1) and ChooseAction(1).
const BadCall kBadCalls[] = {
    {"object kind", [](AclRequest& r) { return r.ChooseTarget(L"C:\\x", 2); }, kBadObjectKind, L"kind 2"},
    {"empty path", [](AclRequest& r) { return r.ChooseTarget(L"", 1); }, kEmptyPath, L"empty"},
    {"action", [](AclRequest& r) { return r.ChooseAction(7); }, kBadAction, L"action 7"},
    {"list", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 2); }, kBadList,
     L"list 2"},
    {"mode 0", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 0, 1); }, kBadMode,
     L"mode 0"},
    {"mode 3", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 3, 1); }, kBadMode,
     L"mode 3"},
    {"inheritance 4", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Full", 4, true, 2, 1); },
     kBadInheritance, L"inheritance 4"},
    {"inheritance -1", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Full", -1, true, 2, 1); },
     kBadInheritance, L"inheritance -1"},
    {"permission", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, L"Write", 3, true, 2, 1); },
     kBadPermission, L"\"Write\""},
    {"unknown trustee",
     [](AclRequest& r) { return r.AddAccessEntry(L"No Such Group 42", false, L"Full", 3, true, 2, 1); },
     kUnknownTrustee, L"\"No Such Group 42\""},
    {"name given as SID", [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", true, L"Full", 3, true, 2, 1); },
     kBadSid, L"\"Everyone\""},
    {"malformed SID", [](AclRequest& r) { return r.AddAccessEntry(L"S-1-x-0", true, L"Full", 3, true, 2, 1); },
     kBadSid, L"\"S-1-x-0\""},
    // A NUL would cut the text short where the platform reads it, turning it into another one.
    {"NUL in the path", [](AclRequest& r) { return r.ChooseTarget(std::wstring(L"C:\\x\0y", 6), 1); },
     FromWin32(ERROR_INVALID_NAME), L"C:\\x?y"},
    {"NUL in the permission",
     [](AclRequest& r) { return r.AddAccessEntry(L"Everyone", false, std::wstring(L"Full\0x", 6), 3, true, 2, 1); },
     kBadPermission, L"\"Full?x\""},
    {"NUL in the trustee",
     [](AclRequest& r) { return r.AddAccessEntry(std::wstring(L"Everyone\0x", 10), false, L"Full", 3, true, 2, 1); },
     kUnknownTrustee, L"\"Everyone?x\""},
    {"SID with trailing junk", [](AclRequest& r) { return r.AddAccessEntry(L"S-1-1-0x", true, L"Full", 3, true, 2, 1); },
     kBadSid, L"\"S-1-1-0x\""},
    {"SID with more parts than a SID holds",
     [](AclRequest& r) {
         return r.AddAccessEntry(L"S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16", true, L"Full", 3, true, 2, 1);
     },
     kBadSid, L"-16\""},
    {"NUL in the SID",
     [](AclRequest& r) { return r.AddAccessEntry(std::wstring(L"S-1-1-0\0x", 9), true, L"Full", 3, true, 2, 1); },
     kBadSid, L"\"S-1-1-0?x\""},
    {"path beyond the platform's limit",
     [](AclRequest& r) { return r.ChooseTarget(L"C:\\" + std::wstring(40000, L'a'), 1); },
     FromWin32(ERROR_FILENAME_EXCED_RANGE), L"C:\\aaa"},
    {"log on a device", [](AclRequest& r) { return r.ChooseLogFile(L"NUL"); }, FromWin32(ERROR_BAD_FILE_TYPE),
     L"NUL"},
};

TEST(AclRequest, RejectsBadArgumentsWithTheirOwnText) {
    for (const BadCall& c : kBadCalls) {
        SCOPED_TRACE(c.name);
        AclRequest request;
        ASSERT_EQ(request.ChooseTarget(TempPath(L"anything"), 1), 0);
        ASSERT_EQ(request.ChooseAction(1), 0);
        const int32_t code = c.call(request);
        EXPECT_EQ(code, c.code);
        const std::wstring text = request.ErrorText(code);
        EXPECT_NE(text.find(c.inText), std::wstring::npos) << Narrow(text);
    }
}

TEST(AclRequest, CallsOutOfOrderAreRefused) {
    AclRequest request;
    EXPECT_EQ(request.ApplyRequest(), kNoTarget);
    EXPECT_EQ(request.ChooseAction(1), kNoTarget);
    EXPECT_EQ(request.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1), kNoTarget);
    ASSERT_EQ(request.ChooseTarget(TempPath(L"missing"), 1), 0);
    EXPECT_EQ(request.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1), kNoAction);
    ASSERT_EQ(request.ChooseAction(1), 0);
    EXPECT_EQ(request.ApplyRequest(), kNoEntries);
    ASSERT_EQ(request.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1), 0);
    // A target that is not there fails with the platform's code, naming the object.
    const int32_t missing = request.ApplyRequest();
    EXPECT_TRUE(missing == FromWin32(ERROR_FILE_NOT_FOUND) || missing == FromWin32(ERROR_PATH_NOT_FOUND)) << missing;
    EXPECT_NE(request.ErrorText(missing).find(TempPath(L"missing")), std::wstring::npos)
        << Narrow(request.ErrorText(missing));
    // A failed choice of target drops the request that was there.
    EXPECT_EQ(request.ChooseTarget(L"C:\\x", 5), kBadObjectKind);
    EXPECT_EQ(request.ApplyRequest(), kNoTarget);
}

TEST(AclRequest, ErrorTextForAnyCode) {
    const AclRequest request;
    EXPECT_EQ(request.ErrorText(0), L"The operation completed successfully.");
    EXPECT_EQ(request.ErrorText(12345), L"Unknown result code 12345 (0x00003039).");
    EXPECT_EQ(request.ErrorText(-7), L"Unknown result code -7 (0xFFFFFFF9).");
    // Known codes read well without a request behind them too.
    EXPECT_EQ(request.ErrorText(kBadMode), L"The mode is not supported: use 1 (set) or 2 (grant).");
    const std::wstring denied = request.ErrorText(FromWin32(ERROR_ACCESS_DENIED));
    EXPECT_NE(denied.find(L"(code -2147024891 (0x80070005))"), std::wstring::npos) << Narrow(denied);
    EXPECT_NE(denied.find(L"ccess"), std::wstring::npos) << Narrow(denied);
}

// Where the handle leads against what the caller named: the named part must end it.
TEST(LeadsTo, AcceptsDeeperVolumesOnlyOnANameBoundary) {
    const struct {
        const wchar_t* resolved;
        const wchar_t* named;
        bool leads;
    } cases[] = {
        {L"\\acl\\tree", L"\\acl\\tree", true},
        {L"\\ACL\\Tree", L"\\acl\\tree", true},
        {L"\\server\\share\\apps", L"\\apps", true},    // mapped drive
        {L"\\server\\share", L"\\", true},               // its root
        {L"\\acl\\outside", L"\\acl\\treelink", false}, // a link
        {L"\\b\\tree", L"\\a\\tree", false},            // a link to a namesake
        {L"\\xapps", L"\\apps", false},
        {L"", L"\\apps", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadsTo(c.resolved, c.named), c.leads) << Narrow(c.resolved) << " / " << Narrow(c.named);
}

TEST(Trustee, WellKnownNamesWhateverTheLanguage) {
    const struct {
        const wchar_t* name;
        const wchar_t* sid;
    } cases[] = {
        {L"Everyone", L"S-1-1-0"},          {L"everyone", L"S-1-1-0"},
        {L"Administrators", L"S-1-5-32-544"}, {L"BUILTIN\\Users", L"S-1-5-32-545"},
        {L"Authenticated Users", L"S-1-5-11"}, {L"SYSTEM", L"S-1-5-18"},
        {L"NT AUTHORITY\\SYSTEM", L"S-1-5-18"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SidToString(SidFromName(c.name)), c.sid) << Narrow(c.name);
    }
    EXPECT_EQ(SidToString(SidFromString(L"S-1-5-21-1-2-3-1001")), L"S-1-5-21-1-2-3-1001");
}

TEST(AclRequest, LogAppendsAndEveryLineReachesTheSink) {
    const std::wstring path = TempPath(L"setacl-engine-log.txt");
    ::DeleteFileW(path.c_str());
    {
        HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(f, "earlier run\r\n", 13, &written, nullptr);
        ::CloseHandle(f);
    }
    std::vector<std::wstring> lines;
    {
        AclRequest request([&](const std::wstring& line) { lines.push_back(line); });
        ASSERT_EQ(request.ChooseLogFile(path), 0);
        EXPECT_EQ(request.ChooseAction(3), kNoTarget);
    }
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(f, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(f);
    ::DeleteFileW(path.c_str());
    const std::string text(buffer, read);
    EXPECT_EQ(text.rfind("earlier run\r\n", 0), 0u) << text;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(L"ChooseLogFile(\"" + path + L"\") -> 0"), std::wstring::npos);
    EXPECT_NE(lines[1].find(L"ChooseAction(3) -> 1: No target has been chosen"), std::wstring::npos) << Narrow(lines[1]);
    for (const auto& line : lines) {
        std::string utf8(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr,
                                                                    nullptr)) - 1, '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), static_cast<int>(utf8.size()) + 1, nullptr,
                              nullptr);
        EXPECT_NE(text.find(utf8 + "\r\n"), std::string::npos) << utf8;
    }

    AclRequest request;
    const std::wstring nowhere = TempPath(L"no-such-folder\\log.txt");
    const int32_t code = request.ChooseLogFile(nowhere);
    EXPECT_EQ(code, FromWin32(ERROR_PATH_NOT_FOUND));
    EXPECT_NE(request.ErrorText(code).find(nowhere), std::wstring::npos);
}

// The program deletes the old log before every job, also when the same control ran a job before.
TEST(AclRequest, LogIsNotHeldOpenBetweenCalls) {
    const std::wstring path = TempPath(L"setacl-engine-rerun-log.txt");
    ::DeleteFileW(path.c_str());
    AclRequest request;
    ASSERT_EQ(request.ChooseLogFile(path), 0);
    EXPECT_EQ(request.ChooseAction(1), kNoTarget);
    ASSERT_TRUE(::DeleteFileW(path.c_str())) << ::GetLastError();
    ASSERT_EQ(request.ChooseLogFile(path), 0);
    EXPECT_EQ(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace setacl

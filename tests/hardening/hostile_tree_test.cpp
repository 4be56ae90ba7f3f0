// Runs the control's request engine over a tree that hostile_tree.sh planted with
// link loops, links and a hard link out of the tree, deep paths, foreign scripts,
// read-only files and a folder denied to administrators. The script then checks
// that nothing outside the tree changed; this side checks what happened inside.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/unique_any.h"
#include "setacl/engine/AclRequest.h"
#include "tests/hardening/acl_probe.h"

namespace {

using hardening::EveryoneHasFullAccess;

std::wstring Root() {
    const wchar_t* root = _wgetenv(L"HARDENING_ROOT");
    return root ? root : L"";
}

struct Outcome {
    int32_t firstFailure = 0;  // first non-zero result of the sequence, 0 when all succeeded
    std::vector<std::wstring> messages;

    bool Mentions(const std::wstring& text) const {
        for (const auto& m : messages)
            if (m.find(text) != std::wstring::npos) return true;
        return false;
    }
};

// The program's own sequence for one folder.
Outcome GrantFullAccess(const std::wstring& target, const std::wstring& logFile) {
    Outcome outcome;
    setacl::AclRequest request([&](const std::wstring& line) { outcome.messages.push_back(line); });
    auto step = [&](int32_t result) {
        if (outcome.firstFailure == 0) outcome.firstFailure = result;
    };
    step(request.ChooseLogFile(logFile));
    step(request.ChooseTarget(target, 1));
    step(request.ChooseAction(1));
    step(request.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1));
    step(request.ApplyRequest());
    return outcome;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    out.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                     static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// The folder's access list as text, to see whether anything touched it.
std::string Fingerprint(const std::wstring& path) {
    common::unique_hlocal descriptor;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                                nullptr, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put())) != ERROR_SUCCESS)
        return "unreadable";
    common::unique_hlocal sddl;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.get(), SDDL_REVISION_1,
                                                                DACL_SECURITY_INFORMATION,
                                                                reinterpret_cast<LPWSTR*>(sddl.put()), nullptr))
        return "unconvertible";
    return Utf8(static_cast<const wchar_t*>(sddl.get()));
}

std::wstring LastComponent(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

// An access list whose only entry denies the local administrators everything.
void DenyAdministrators(const std::wstring& path) {
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(admins);
    ASSERT_TRUE(::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size));
    EXPLICIT_ACCESSW deny{};
    deny.grfAccessPermissions = GENERIC_ALL;
    deny.grfAccessMode = DENY_ACCESS;
    deny.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    deny.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    deny.Trustee.ptstrName = reinterpret_cast<LPWSTR>(admins);
    PACL acl = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::SetEntriesInAclW(1, &deny, nullptr, &acl));
    const common::unique_hlocal holder(acl);
    ASSERT_EQ(ERROR_SUCCESS, ::SetNamedSecurityInfoW(const_cast<LPWSTR>(path.c_str()), SE_FILE_OBJECT,
                                                     DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                                     nullptr, nullptr, acl, nullptr));
}

class HostileTree : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(root_.empty()) << "HARDENING_ROOT is set by hostile_tree.sh"; }
    const std::wstring root_ = Root();
};

TEST_F(HostileTree, WalkFinishesGrantsEverythingInsideAndNamesWhatItCouldNot) {
    const std::wstring tree = root_ + L"\\tree";
    DenyAdministrators(tree + L"\\denied");

    // Held without sharing for the whole walk, as a running program would.
    common::unique_hfile locked(::CreateFileW((tree + L"\\locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked) << ::GetLastError();

    // The log goes to a folder named in Thai, beside the tree.
    const Outcome outcome = GrantFullAccess(tree, root_ + L"\\\u0E1A\u0E31\u0E19\u0E17\u0E36\u0E01\\SetACLLog.txt");
    locked.reset();

    EXPECT_TRUE(EveryoneHasFullAccess(tree));
    size_t objects = 0, granted = 0;
    for (const auto& entry : hardening::ListTree(tree)) {
        if (entry.isLink) continue;  // what a link leads to is checked outside, by the script
        ++objects;
        if (EveryoneHasFullAccess(entry.path)) {
            ++granted;
            continue;
        }
        EXPECT_TRUE(outcome.Mentions(LastComponent(entry.path)))
            << "left unchanged and not reported: " << Utf8(entry.path);
    }
    // The deep folders alone hold a dozen objects; a walk that stopped early grants far fewer.
    EXPECT_GE(objects, 20u);
    if (HasFailure()) {
        for (const auto& line : outcome.messages) std::printf("log: %s\n", Utf8(line).c_str());
    }
    std::printf("walk: %zu objects inside, %zu granted, result %d, %zu log lines\n", objects, granted,
                outcome.firstFailure, outcome.messages.size());
}

TEST_F(HostileTree, KeyFolderThatIsALinkElsewhereIsNotGranted) {
    const Outcome outcome = GrantFullAccess(root_ + L"\\keylink", root_ + L"\\keylink.log");
    EXPECT_NE(0, outcome.firstFailure);
    EXPECT_FALSE(EveryoneHasFullAccess(root_ + L"\\outside\\keytarget"));
}

TEST_F(HostileTree, TargetPast1000CharactersIsGrantedOrRefusedNeverFalselyReported) {
    std::wstring deep = root_ + L"\\deep";
    WIN32_FIND_DATAW data;
    // The host script made one chain of 200-character folders; follow it to its end.
    for (;;) {
        common::unique_hfind find(::FindFirstFileW(hardening::ExtendedPath(deep + L"\\d*").c_str(), &data));
        if (!find) break;
        deep += L"\\" + std::wstring(data.cFileName);
    }
    ASSERT_GT(deep.size(), 1000u);
    const Outcome outcome = GrantFullAccess(deep, root_ + L"\\deep.log");
    if (outcome.firstFailure == 0) {
        EXPECT_TRUE(EveryoneHasFullAccess(deep));
    }
    std::printf("deep target of %zu characters: result %d\n", deep.size(), outcome.firstFailure);
}

// Arguments as a hostile or careless caller of the control could pass them.
struct HostileCall {
    const char* what;
    std::wstring target, trustee = L"Everyone";
    bool isSid = false;
    std::wstring permission = L"Full";
    int32_t inheritance = 3, mode = 2, list = 1;
};

class HostileArguments : public HostileTree {
protected:
    void SetUp() override {
        HostileTree::SetUp();
        ASSERT_TRUE(::CreateDirectoryW(victim_.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }

    // Each call is refused with a code that has a text, and the folder is left as it was.
    void ExpectRefused(const std::vector<HostileCall>& calls) {
        const std::string before = Fingerprint(victim_);
        for (const auto& c : calls) {
            setacl::AclRequest request;
            int32_t result = request.ChooseTarget(c.target, 1);
            if (result == 0) result = request.ChooseAction(1);
            if (result == 0)
                result = request.AddAccessEntry(c.trustee, c.isSid, c.permission, c.inheritance, true, c.mode, c.list);
            if (result == 0) result = request.ApplyRequest();
            EXPECT_NE(0, result) << c.what;
            EXPECT_FALSE(request.ErrorText(result).empty()) << c.what;
            EXPECT_EQ(before, Fingerprint(victim_)) << c.what;
        }
    }

    HostileCall On(const char* what) const { return HostileCall{what, victim_}; }

    const std::wstring victim_ = root_ + L"\\victim";
};

TEST_F(HostileArguments, AreRefusedAndChangeNothing) {
    std::vector<HostileCall> calls = {
        {"empty path", L""},
        {"key folder of a network path", L"\\:\\KEY-BASE"},
        {"missing folder", victim_ + L"\\missing"},
        {"device", L"\\\\.\\NUL"},
    };
    auto on = [&](const char* what, auto change) {
        calls.push_back(On(what));
        change(calls.back());
    };
    on("empty trustee", [](HostileCall& c) { c.trustee = L""; });
    on("unknown account", [](HostileCall& c) { c.trustee = L"No Such Account \u0E44\u0E17\u0E22"; });
    on("trustee of 10,000 characters", [](HostileCall& c) { c.trustee = std::wstring(10000, L'E'); });
    on("malformed SID", [](HostileCall& c) {
        c.trustee = L"S-1-1-0x";
        c.isSid = true;
    });
    on("SID with too many parts", [](HostileCall& c) {
        c.trustee = L"S-1-5-21-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16";
        c.isSid = true;
    });
    on("empty permission", [](HostileCall& c) { c.permission = L""; });
    on("unknown permission", [](HostileCall& c) { c.permission = L"Fullest"; });
    on("negative inheritance", [](HostileCall& c) { c.inheritance = -1; });
    on("inheritance out of range", [](HostileCall& c) { c.inheritance = 4; });
    on("unknown mode", [](HostileCall& c) { c.mode = 0; });
    on("unknown list", [](HostileCall& c) { c.list = 2; });
    ExpectRefused(calls);
}

// Faults found here and since mended: a path with a NUL inside was cut at the NUL
// and the folder before it granted; one of 40,000 characters (past the platform's
// 32,767) crashed the process under Wine.
TEST_F(HostileArguments, PathsWithNulOrPastThePlatformLimitAreRefused) {
    ExpectRefused({
        {"NUL inside the path", victim_ + std::wstring(1, L'\0') + L"x"},
        {"path of 40,000 characters", L"D:\\" + std::wstring(40000, L'a')},
    });
}

}  // namespace

// Twenty runs of the program in a row on the same folders: the first run grants,
// and every later run leaves every access list exactly as the first run left it,
// with the key folder's attributes back at 22.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/text.h"
#include "tests/hardening/acl_probe.h"
#include "tests/hardening/program_run.h"

namespace {

using namespace hardening;

constexpr int kRuns = 20;

std::string Snapshot(const std::wstring& app) {
    std::string state;
    for (const std::wstring& path : {std::wstring(kKeyFolder), app, TempFolder()}) {
        state += common::WideToAnsi(path) + ": " + SecurityFingerprint(path) + "\n";
    }
    for (const auto& entry : ListTree(app)) {
        state += common::WideToAnsi(entry.path) + ": " + SecurityFingerprint(entry.path) + "\n";
    }
    return state + "NET DIR=" + ParadoxSetting(app, "NET DIR") + "\nLANGDRIVER=" + ParadoxSetting(app, "LANGDRIVER");
}

TEST(RepeatedRuns, EveryAccessListStaysAsTheFirstRunLeftIt) {
    const std::wstring base = L"D:\\hardening-repeat";
    const std::wstring app = base + L"\\Shared App";
    RemoveTree(base);
    RemoveTree(kKeyFolder);
    StageApplicationFolder(app);
    RegisterControl(app);
    // Something for the grant to reach below the application folder.
    ASSERT_TRUE(::CreateDirectoryW((app + L"\\Data").c_str(), nullptr));
    ::CloseHandle(::CreateFileW((app + L"\\Data\\table.db").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                nullptr));

    std::string first;
    for (int run = 1; run <= kRuns; ++run) {
        const RunOutcome outcome = RunProgram(app);
        ASSERT_EQ(0u, outcome.exitCode) << "run " << run << "; windows open: " << outcome.windows;
        EXPECT_EQ(kKeyFolderAttributes, ::GetFileAttributesW(kKeyFolder)) << "run " << run;
        const std::string state = Snapshot(app);
        if (run == 1) {
            first = state;
            EXPECT_TRUE(EveryoneHasFullAccess(kKeyFolder));
            EXPECT_TRUE(EveryoneHasFullAccess(app));
            EXPECT_TRUE(EveryoneHasFullAccess(TempFolder()));
            EXPECT_EQ("D:\\hardening-repeat\\Shared App\\", ParadoxSetting(app, "NET DIR"));
            EXPECT_EQ("thai", ParadoxSetting(app, "LANGDRIVER"));
        } else {
            ASSERT_EQ(first, state) << "run " << run;
        }
    }
    std::printf("%d runs; state after each:\n%s\n", kRuns, first.c_str());
}

}  // namespace

// Cases on drives that host_drives.sh maps for the run, since Windows code cannot make
// links or drives under Wine: R: is empty, L:\KEY-BASE is a link to L:\keytarget.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

using uidriver::Answer;

class HostDrives : public ProgramTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(IsFolder(L"R:\\") && IsFolder(L"L:\\")) << "run through host_drives.sh";
        RestrictEveryone(TempFolder());
    }
};

// A drive root as the application folder: one backslash, and the key folder beside it.
TEST_F(HostDrives, DriveRootAsApplicationFolder) {
    const std::wstring root = L"R:\\";
    Install(root);
    AddSibling(root);

    const RunResult run = RunProgram(Exe(root), {});

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.dialogs.empty()) << run.seen;
    EXPECT_EQ(Attributes(L"R:\\KEY-BASE"), 22u);
    EXPECT_TRUE(IsFile(root + kLogName));
    ExpectGrantedInOrder(L"R:\\KEY-BASE", root);
    EXPECT_EQ(Setting(root, "NET DIR"), "R:\\");
}

// The control refuses a key folder that is a link; the other two are granted all the same.
TEST_F(HostDrives, AKeyFolderTheControlRefusesLeavesTheOtherTwoGranted) {
    const std::wstring app = L"L:\\App\\";
    ASSERT_TRUE(Attributes(L"L:\\KEY-BASE") & FILE_ATTRIBUTE_REPARSE_POINT);
    MakeFolder(app);
    Install(app);
    AddSibling(app);

    const RunResult run = RunProgram(Exe(app), {Answer::Ok()});

    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.dialogs.size(), 1u) << run.seen;
    EXPECT_EQ(run.dialogs[0].caption, L"Project1");
    EXPECT_FALSE(EveryoneHasFullAccess(L"L:\\keytarget"));
    EXPECT_TRUE(EveryoneHasFullAccess(app));
    EXPECT_TRUE(EveryoneHasFullAccess(TempFolder()));
    EXPECT_EQ(GrantedInLog(app),
              (std::vector<std::string>{common::WideToAnsi(app), common::WideToAnsi(TempFolder())}));
}

}  // namespace
}  // namespace e2e

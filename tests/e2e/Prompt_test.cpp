// Runs where no sibling program lies beside Project1.exe: the folder prompt, rooted
// at the desktop's "ROOT", comes back until a chosen folder holds one.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

using uidriver::Answer;

class PromptTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        root_ = PromptRoot();
        ASSERT_EQ(root_.substr(0, 3), L"D:\\");
        // Rows in the browser, in this (alphabetical) order.
        MakeFolder(root_ + L"\\A-Empty");
        MakeFolder(root_ + L"\\B-Named\\Tarvo-Convoy.exe");
        MakeFolder(root_ + L"\\C-App");
        AddSibling(root_ + L"\\C-App", L"Lumeo ORBIT (North+Central).exe");
        Install(appDir_);
    }

    // The prefix's desktop is a link to the Unix home, and the control refuses folders
    // behind a link: the desktop moves to a plain folder on D: while the test runs.
    DesktopOnSandboxDrive desktop_;
    std::wstring root_;
};

TEST_F(PromptTest, ComesBackWithNothingSelectedUntilAChosenFolderHoldsASibling) {
    uidriver::Process process(uidriver::Quote(Exe(appDir_)), appDir_);
    uidriver::Driver driver(process);
    // Empty, then a folder named like a sibling program, then the real thing.
    for (int row : {0, 1, 2}) {
        const auto prompt = driver.NextWindow(kRunBoundMs);
        ASSERT_TRUE(prompt && prompt->FindChild(WC_TREEVIEWW)) << common::WideToAnsi(driver.DescribeSeen());
        EXPECT_FALSE(uidriver::FolderSelected(prompt->hwnd));
        driver.Respond(*prompt, Answer::Folder({row}));
    }
    for (auto window = driver.NextWindow(kRunBoundMs); window; window = driver.NextWindow(kRunBoundMs))
        ASSERT_EQ(window->className, kMainClass) << common::WideToAnsi(driver.DescribeSeen());
    ASSERT_TRUE(process.WaitForExit(kRunBoundMs));
    EXPECT_EQ(process.ExitCode(), 0u);

    const std::wstring chosen = root_ + L"\\C-App\\";
    EXPECT_EQ(Attributes(kKeyFolder), 22u);
    EXPECT_TRUE(IsFile(chosen + kLogName));
    ExpectGrantedInOrder(kKeyFolder, chosen);
    EXPECT_EQ(Setting(appDir_, "NET DIR"), common::WideToAnsi(chosen));
}

struct Cancel {
    const char* name;
    std::vector<Answer> script;
    const wchar_t* lastProbed;  // below ROOT; null: the program's own folder
};

class CancelledPrompt : public PromptTest, public ::testing::WithParamInterface<Cancel> {};

TEST_P(CancelledPrompt, EndsTheJobWithNothingChangedButTheEngineSettings) {
    const RunResult run = RunProgram(Exe(appDir_), GetParam().script);

    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.dialogs.size(), GetParam().script.size()) << run.seen;
    for (const auto& prompt : run.dialogs) EXPECT_TRUE(prompt.FindChild(WC_TREEVIEWW)) << run.seen;
    EXPECT_FALSE(IsFolder(kKeyFolder));
    EXPECT_FALSE(IsFile(appDir_ + kLogName));
    EXPECT_FALSE(IsFile(root_ + L"\\A-Empty\\" + kLogName));
    ExpectNoneGranted(appDir_);
    const std::wstring lastProbed = GetParam().lastProbed ? root_ + GetParam().lastProbed : appDir_;
    EXPECT_EQ(Setting(appDir_, "NET DIR"), common::WideToAnsi(lastProbed));
    EXPECT_EQ(Setting(appDir_, "LANGDRIVER"), "thai");
}

INSTANTIATE_TEST_SUITE_P(
    Cancels, CancelledPrompt,
    ::testing::Values(Cancel{"AtOnce", {Answer::Cancel()}, nullptr},
                      Cancel{"AfterAnUnsuitableChoice", {Answer::Folder({0}), Answer::Cancel()}, L"\\A-Empty\\"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e

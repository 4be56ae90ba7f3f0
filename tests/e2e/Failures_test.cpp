// Runs where something fails: the control's log file, its registration, the engine.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

using uidriver::Answer;

TEST_F(ProgramTest, ALogFileTheControlCannotUseShowsOneMessageAndGrantsNothing) {
    Install(appDir_);
    AddSibling(appDir_);
    MakeFolder(appDir_ + kLogName);

    const RunResult run = RunProgram(Exe(appDir_), {Answer::Ok()});

    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.dialogs.size(), 1u) << run.seen;
    const auto& box = run.dialogs[0];
    EXPECT_EQ(box.caption, L"Project1");
    EXPECT_FALSE(box.HasIcon());
    EXPECT_EQ(box.ButtonTexts(), std::vector<std::wstring>{L"OK"});
    EXPECT_EQ(box.StaticTexts().size(), 1u) << run.seen;
    // The key folder comes before the log file; only the grants are skipped.
    EXPECT_EQ(Attributes(kKeyFolder), 22u);
    ExpectNoneGranted(appDir_);
    EXPECT_EQ(Setting(appDir_, "LANGDRIVER"), "thai");
}

TEST_F(ProgramTest, AnUnregisteredControlShowsOnlyTheApplicationErrorAndTouchesNothing) {
    ASSERT_EQ(RunSystemRegsvr32(L"/u " + uidriver::Quote(PayloadFolder() + L"SetACL.ocx")), 0u);
    Install(appDir_, /*withControl=*/false);
    AddSibling(appDir_);

    const RunResult run = RunProgram(Exe(appDir_), {Answer::Ok()});

    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.dialogs.size(), 1u) << run.seen;
    EXPECT_EQ(run.dialogs[0].caption, L"Application Error");
    EXPECT_EQ(run.dialogs[0].ButtonTexts(), std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(IsFolder(kKeyFolder));
    EXPECT_FALSE(IsFile(appDir_ + kLogName));
    ExpectNoneGranted(appDir_);
    EXPECT_EQ(Setting(appDir_, "NET DIR"), "C:\\");
    EXPECT_EQ(Setting(appDir_, "LANGDRIVER"), "ascii");
}

// An engine that lacks a function raises an error out of the job at start-up: the
// error box, then the main window stays open with its button, which runs both steps again.
TEST_F(ProgramTest, AJobErrorLeavesTheWindowOpenAndItsButtonRunsTheJobAgain) {
    Install(appDir_);
    AddSibling(appDir_);
    CopyPayload(L"without-exit\\IDAPI32.dll", appDir_, L"IDAPI32.dll");
    uidriver::Process process(uidriver::Quote(Exe(appDir_)), appDir_);
    uidriver::Driver driver(process);
    const auto seen = [&] { return common::WideToAnsi(driver.DescribeSeen()); };

    const auto error = driver.NextWindow(kRunBoundMs);
    ASSERT_TRUE(error) << seen();
    EXPECT_EQ(error->caption, L"SetACL");
    EXPECT_TRUE(error->HasIcon());
    EXPECT_EQ(error->ButtonTexts(), std::vector<std::wstring>{L"OK"});
    ASSERT_TRUE(IsFile(appDir_ + kLogName));
    EXPECT_TRUE(EveryoneHasFullAccess(appDir_));
    driver.Respond(*error, Answer::Ok());

    const auto main = driver.NextWindow(kRunBoundMs);
    ASSERT_TRUE(main) << seen();
    EXPECT_EQ(main->className, kMainClass);
    EXPECT_EQ(main->caption, kMainCaption);
    EXPECT_EQ(main->client.right, 307);
    EXPECT_EQ(main->client.bottom, 58);
    const auto* button = main->FindChild(L"Button");
    ASSERT_TRUE(button) << seen();
    EXPECT_EQ(button->text, L"Set Program Permission");
    EXPECT_EQ(button->rect.left, 80);
    EXPECT_EQ(button->rect.top, 16);
    EXPECT_EQ(button->rect.right - button->rect.left, 145);
    EXPECT_EQ(button->rect.bottom - button->rect.top, 25);

    // The second run shows in the control's log (which it keeps open, so the run
    // appends to it), then the engine step fails the same way again.
    const auto countChoices = [&] {
        const std::string log = ReadText(appDir_ + kLogName);
        size_t n = 0;
        for (size_t at = log.find("ChooseLogFile("); at != std::string::npos; at = log.find("ChooseLogFile(", at + 1)) ++n;
        return n;
    };
    ASSERT_EQ(countChoices(), 1u);
    uidriver::PressButton(main->hwnd, L"Set Program Permission");
    auto again = driver.NextWindow(kRunBoundMs);
    // The control may report its log file: the job's own message, answered like any other.
    while (again && again->caption == L"Project1") {
        driver.Respond(*again, Answer::Ok());
        again = driver.NextWindow(kRunBoundMs);
    }
    ASSERT_TRUE(again) << seen();
    EXPECT_EQ(again->caption, L"SetACL") << seen();
    EXPECT_EQ(countChoices(), 2u);
    driver.Respond(*again, Answer::Ok());
    EXPECT_TRUE(::IsWindowVisible(main->hwnd));

    uidriver::PostClose(main->hwnd);
    EXPECT_FALSE(driver.NextWindow(kRunBoundMs)) << seen();
    ASSERT_TRUE(process.WaitForExit(kRunBoundMs));
    EXPECT_EQ(process.ExitCode(), 0u);
}

// D:\KEY-BASE is a link the host script made, to D:\keytarget: the control refuses it,
// and the application folder and the temporary folder are granted all the same.
class HostLinkedKeyFolder : public ProgramTest {
protected:
    void SetUp() override { PrepareAppFolder(); }
};

TEST_F(HostLinkedKeyFolder, IsRefusedWithOneMessageWhileTheOtherTwoAreGranted) {
    ASSERT_TRUE(Attributes(kKeyFolder) & FILE_ATTRIBUTE_REPARSE_POINT) << "run through linked_key_folder.sh";
    Install(appDir_);
    AddSibling(appDir_);

    const RunResult run = RunProgram(Exe(appDir_), {Answer::Ok()});

    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.dialogs.size(), 1u) << run.seen;
    EXPECT_EQ(run.dialogs[0].caption, L"Project1");
    EXPECT_FALSE(EveryoneHasFullAccess(L"D:\\keytarget"));
    EXPECT_TRUE(EveryoneHasFullAccess(appDir_));
    EXPECT_TRUE(EveryoneHasFullAccess(TempFolder()));
    EXPECT_EQ(GrantedInLog(appDir_), (std::vector<std::string>{common::WideToAnsi(appDir_),
                                                               common::WideToAnsi(TempFolder())}));
}

}  // namespace
}  // namespace e2e

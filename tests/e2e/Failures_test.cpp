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
    // Dialog-style frame: fixed size, a close box only, no icon; centred on the screen.
    EXPECT_EQ(main->style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(main->style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(main->exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_NEAR(main->window.left + main->window.right, ::GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(main->window.top + main->window.bottom, ::GetSystemMetrics(SM_CYSCREEN), 1);
    const auto* button = main->FindChild(L"Button");
    ASSERT_TRUE(button) << seen();
    EXPECT_EQ(button->text, L"Set Program Permission");
    EXPECT_EQ(button->rect.left, 80);
    EXPECT_EQ(button->rect.top, 16);
    EXPECT_EQ(button->rect.right - button->rect.left, 145);
    EXPECT_EQ(button->rect.bottom - button->rect.top, 25);

    // The second run replaces the log as the first did (a line planted in the old one
    // disappears) and grants again, then the engine step fails the same way again.
    WriteText(appDir_ + kLogName, ReadText(appDir_ + kLogName) + "left by the first run\r\n");
    uidriver::PressButton(main->hwnd, L"Set Program Permission");
    const auto again = driver.NextWindow(kRunBoundMs);
    ASSERT_TRUE(again) << seen();
    EXPECT_EQ(again->caption, L"SetACL") << seen();
    const std::string log = ReadText(appDir_ + kLogName);
    EXPECT_EQ(log.find("left by the first run"), std::string::npos) << log;
    EXPECT_NE(log.find("ChooseLogFile("), std::string::npos) << log;
    EXPECT_TRUE(EveryoneHasFullAccess(appDir_));
    driver.Respond(*again, Answer::Ok());
    EXPECT_TRUE(::IsWindowVisible(main->hwnd));

    uidriver::PostClose(main->hwnd);
    EXPECT_FALSE(driver.NextWindow(kRunBoundMs)) << seen();
    ASSERT_TRUE(process.WaitForExit(kRunBoundMs));
    EXPECT_EQ(process.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e

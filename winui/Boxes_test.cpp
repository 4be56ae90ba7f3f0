// The message boxes the application layer shows, read back as a user would see them.
#include <gtest/gtest.h>
#include <windows.h>

#include "winui/Application.h"
#include "winui/Dialogs.h"
#include "winui/Exceptions.h"
#include "winui/testing/DialogWatcher.h"

namespace winui {
namespace {

using testing::DialogWatcher;

TEST(Boxes, StandardErrorBoxIsCaptionedWithTheTitleAndShowsTheText) {
    DialogWatcher watcher;
    Application->ShowException(Exception("The job failed."));
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, L"WinuiTests");
    EXPECT_EQ(seen.Text, L"The job failed.");
    EXPECT_TRUE(seen.HasIcon);
    EXPECT_EQ(seen.Buttons, std::vector<std::wstring>{L"OK"});
}

TEST(Boxes, StandardErrorBoxWaitsForTheUserThoughATerminateRequestIsPending) {
    Application->Terminate();
    DialogWatcher watcher;
    Application->ShowException(Exception("Shown after a cancelled prompt."));
    EXPECT_TRUE(watcher.Result().Found);
    // The request is still there for the message loop.
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Boxes, LastResortBoxNamesTheErrorAndGivesTheSystemText) {
    DialogWatcher watcher;
    ShowUncaughtException(EOleSysError(REGDB_E_CLASSNOTREG));
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, L"Application Error");
    EXPECT_EQ(seen.Text, L"Exception EOleSysError in module winui_tests.exe.\nClass not registered");
    EXPECT_EQ(seen.Owner, nullptr);
    EXPECT_EQ(seen.Buttons, std::vector<std::wstring>{L"OK"});
}

TEST(Boxes, LastResortBoxNamesForeignErrorsGenerically) {
    DialogWatcher watcher;
    ShowUncaughtException(std::runtime_error("out of luck"));
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Text, L"Exception Exception in module winui_tests.exe.\nout of luck");
}

TEST(Boxes, ShowMessageIsCaptionedWithTheExecutableNameAndHasNoIcon) {
    DialogWatcher watcher;
    const std::wstring text = L"Access is denied: \u0E01\u0E02 C:\\Program Files\\Tarvo";
    ShowMessage(text);
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, L"winui_tests");
    EXPECT_EQ(seen.Text, text);
    EXPECT_FALSE(seen.HasIcon);
    EXPECT_EQ(seen.Owner, nullptr);
    EXPECT_EQ(seen.Buttons, std::vector<std::wstring>{L"OK"});
}

}  // namespace
}  // namespace winui

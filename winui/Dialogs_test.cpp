// The folder prompt, answered as a user would: cancelled, or confirmed at its root.
#include "winui/Dialogs.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "common/text.h"
#include "winui/testing/DialogWatcher.h"

namespace winui {
namespace {

bool Shows(const testing::SeenDialog& seen, const std::wstring& text) {
    return std::find(seen.Statics.begin(), seen.Statics.end(), text) != seen.Statics.end();
}

TEST(SelectDirectory, CancelGivesFalseAndAnEmptyPath) {
    testing::DialogWatcher watcher(IDCANCEL);
    std::wstring directory = L"left over";
    EXPECT_FALSE(SelectDirectory("Please select program directory.", L"ROOT", directory));
    EXPECT_EQ(directory, L"");
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Owner, nullptr);
    EXPECT_TRUE(Shows(seen, L"Please select program directory."));
}

TEST(SelectDirectory, AFolderNamedRootOnTheDesktopIsTheRootElseTheDesktop) {
    wchar_t desktop[MAX_PATH];
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
    const std::wstring root = std::wstring(desktop) + L"\\ROOT";
    ASSERT_TRUE(::CreateDirectoryW(root.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    std::wstring directory;
    {
        testing::DialogWatcher watcher(IDCANCEL);
        SelectDirectory("Please select program directory.", L"ROOT", directory);
        EXPECT_EQ(watcher.Result().TreeRoot, L"ROOT");
    }
    ::RemoveDirectoryW(root.c_str());
    {
        testing::DialogWatcher watcher(IDCANCEL);
        SelectDirectory("Please select program directory.", L"ROOT", directory);
        EXPECT_EQ(watcher.Result().TreeRoot, L"Desktop");
    }
}

}  // namespace
}  // namespace winui

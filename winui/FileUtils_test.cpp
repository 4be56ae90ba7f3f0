#include "winui/FileUtils.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "winui/testing/ScratchFolder.h"

namespace winui {
namespace {

TEST(FileUtils, FolderOfAPathEndsInExactlyOneBackslash) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Apps\\Shared\\Project1.exe", "C:\\Apps\\Shared\\"},
        {"D:\\Project1.exe", "D:\\"},
        {"D:Project1.exe", "D:\\"},  // cut after the colon, then the backslash added
        {"\\\\server\\share\\Project1.exe", "\\\\server\\share\\"},
        {"C:\\My Apps (x86)\\a.b\\Project1.exe", "C:\\My Apps (x86)\\a.b\\"},
        {"Project1.exe", "\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IncludeTrailingBackslash(ExtractFilePath(c.path)), c.folder) << c.path;
    }
    EXPECT_EQ(IncludeTrailingBackslash("D:\\"), "D:\\");
    EXPECT_EQ(IncludeTrailingBackslash("D:\\Apps"), "D:\\Apps\\");
}

TEST(FileUtils, BaseNameDropsFolderAndExtensionOnly) {
    EXPECT_EQ(ExtractFileBaseName("C:\\dir.v2\\Project1.exe"), "Project1");
    EXPECT_EQ(ExtractFileBaseName("C:\\dir.v2\\noext"), "noext");
    EXPECT_EQ(ExtractFileBaseName("C:\\a\\Lumeo ORBIT (North+Central).exe"), "Lumeo ORBIT (North+Central)");
}

TEST(FileUtils, FileExistsIsFalseForFolders) {
    testing::ScratchFolder scratch;
    const std::string file = scratch.Path() + "Tarvo-Convoy.exe";
    const std::string folder = scratch.Path() + "Tarvo_CHART3.exe";
    ASSERT_TRUE(scratch.WriteFile("Tarvo-Convoy.exe"));
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(scratch.Path() + "missing.exe"));
}

TEST(FileUtils, ForceDirectoriesCreatesMissingParentsAndKeepsExistingFolders) {
    testing::ScratchFolder scratch;
    const std::string deep = scratch.Path() + "a\\b c\\d";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep + "\\"));
    // A file in the way cannot become a folder.
    ASSERT_TRUE(scratch.WriteFile("file"));
    EXPECT_FALSE(ForceDirectories(scratch.Path() + "file\\sub"));
    // A name with no drive behind it fails quietly.
    EXPECT_FALSE(ForceDirectories("\\:\\KEY-BASE"));
}

}  // namespace
}  // namespace winui

// The driver against a small program of its own that shows a message box and a
// shell folder browser rooted at the desktop's "ROOT".
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/uidriver/driver.h"

namespace uidriver {
namespace {

constexpr DWORD kBoundMs = 30000;

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::ifstream in{std::filesystem::path(path)};
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = DesktopFolder() + L"\\ROOT";
        for (const wchar_t* sub : {L"", L"\\Alpha", L"\\Beta", L"\\Beta\\Inner", L"\\Gamma"})
            ::CreateDirectoryW((root_ + sub).c_str(), nullptr);
        output_ = ModuleFolder() + L"sample_output.txt";
        ::DeleteFileW(output_.c_str());
    }

    std::wstring CommandLine(const std::wstring& actions) const {
        return Quote(ModuleFolder() + L"uidriver_sample_app.exe") + L" " + Quote(output_) + L" " + actions;
    }

    std::wstring root_;
    std::wstring output_;
};

TEST_F(DriverTest, RecordsAMessageBoxAndAnswersOk) {
    Process process(CommandLine(L"message"));
    Driver driver(process);
    driver.Run({Answer::Ok()}, kBoundMs);
    ASSERT_TRUE(process.WaitForExit(kBoundMs));

    ASSERT_EQ(driver.Seen().size(), 1u) << common::WideToAnsi(driver.DescribeSeen());
    const WindowRecord& box = driver.Seen()[0];
    EXPECT_TRUE(box.IsDialog());
    EXPECT_EQ(box.caption, L"Sample");
    EXPECT_EQ(box.StaticTexts(), std::vector<std::wstring>{L"Sample text."});
    EXPECT_EQ(box.ButtonTexts(), std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(box.HasIcon());
    EXPECT_GT(box.client.right, 0);
    EXPECT_EQ(ReadLines(output_), std::vector<std::string>{"1"});
}

struct BrowseCase {
    const char* name;
    Answer answer;
    std::wstring expected;  // below ROOT; "cancel" for no choice
};

class BrowseTest : public DriverTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(BrowseTest, ChoosesByRowsBelowTheRoot) {
    Process process(CommandLine(L"browse"));
    Driver driver(process);
    driver.Run({GetParam().answer}, kBoundMs);
    ASSERT_TRUE(process.WaitForExit(kBoundMs));

    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_TRUE(driver.Seen()[0].FindChild(WC_TREEVIEWW)) << common::WideToAnsi(driver.DescribeSeen());
    const std::wstring expected = GetParam().expected == L"cancel" ? L"cancel" : root_ + GetParam().expected;
    EXPECT_EQ(ReadLines(output_), std::vector<std::string>{common::WideToAnsi(expected)});
}

INSTANTIATE_TEST_SUITE_P(Rows, BrowseTest,
                         ::testing::Values(BrowseCase{"first", Answer::Folder({0}), L"\\Alpha"},
                                           BrowseCase{"last", Answer::Folder({2}), L"\\Gamma"},
                                           BrowseCase{"nested", Answer::Folder({1, 0}), L"\\Beta\\Inner"},
                                           BrowseCase{"root", Answer::Folder({}), L""},
                                           BrowseCase{"cancelled", Answer::Cancel(), L"cancel"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriverTest, AnswersWindowsInTurn) {
    Process process(CommandLine(L"message browse"));
    Driver driver(process);
    driver.Run({Answer::Ok(), Answer::Folder({2})}, kBoundMs);
    ASSERT_TRUE(process.WaitForExit(kBoundMs));
    EXPECT_EQ(ReadLines(output_), (std::vector<std::string>{"1", common::WideToAnsi(root_ + L"\\Gamma")}));
}

TEST_F(DriverTest, AWindowBeyondTheScriptKillsTheProgramAndFails) {
    Process process(CommandLine(L"message"));
    Driver driver(process);
    EXPECT_THROW(driver.Run({}, kBoundMs), DriverError);
    EXPECT_FALSE(process.Running());
    EXPECT_TRUE(ReadLines(output_).empty());
}

TEST_F(DriverTest, AHangIsBoundedByTheWatchdog) {
    Process process(CommandLine(L"message"));
    Driver driver(process);
    ASSERT_TRUE(driver.NextWindow(kBoundMs));
    EXPECT_THROW(driver.NextWindow(300), DriverError);
    EXPECT_FALSE(process.Running());
}

}  // namespace
}  // namespace uidriver

// Runs where a sibling program lies beside Project1.exe: nothing is shown, the key
// folder is hidden and system, the log is new, and the three folders are granted in order.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

constexpr char kStaleLog[] = "stale entry of an earlier run";

struct Layout {
    const char* name;
    void (*prepare)(const std::wstring& appDir);
};

class NormalRun : public ProgramTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(NormalRun, IsSilentAndGrantsTheThreeFoldersInOrder) {
    Install(appDir_);
    GetParam().prepare(appDir_);

    const RunResult run = RunProgram(Exe(appDir_), {});

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.dialogs.empty()) << run.seen;
    EXPECT_EQ(Attributes(kKeyFolder), 22u);
    ASSERT_TRUE(IsFile(appDir_ + kLogName));
    EXPECT_EQ(ReadText(appDir_ + kLogName).find(kStaleLog), std::string::npos);
    ExpectGrantedInOrder(kKeyFolder, appDir_);
    EXPECT_EQ(Setting(appDir_, "NET DIR"), common::WideToAnsi(appDir_));
    EXPECT_EQ(Setting(appDir_, "LANGDRIVER"), "thai");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, NormalRun,
    ::testing::Values(
        Layout{"FirstSibling", [](const std::wstring& dir) { ProgramTest::AddSibling(dir); }},
        Layout{"ThirdSiblingOnly",
               [](const std::wstring& dir) { ProgramTest::AddSibling(dir, L"Lumeo ORBIT (North+Central).exe"); }},
        Layout{"KeyFolderThereWithOtherAttributes",
               [](const std::wstring& dir) {
                   ProgramTest::AddSibling(dir);
                   MakeFolder(kKeyFolder);
                   ::SetFileAttributesW(kKeyFolder, FILE_ATTRIBUTE_ARCHIVE);
               }},
        Layout{"OldLogThere",
               [](const std::wstring& dir) {
                   ProgramTest::AddSibling(dir);
                   WriteText(dir + kLogName, kStaleLog);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e

// Registration of the control at start-up: the command line the program launches,
// when it launches it, and that it waits for a slow registration tool.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

constexpr wchar_t kStandInLog[] = L"Regsvr32.log";

class RegistrationTest : public ProgramTest {
protected:
    static void Unregister() {
        ASSERT_EQ(RunSystemRegsvr32(L"/u " + uidriver::Quote(PayloadFolder() + L"SetACL.ocx")), 0u);
    }
    // The recording stand-in, found before the genuine tool because it lies beside the program.
    static void AddStandIn(const std::wstring& folder) { CopyPayload(L"Regsvr32.exe", folder); }

    void ExpectSilentSuccess(const std::wstring& folder) {
        const RunResult run = RunProgram(Exe(folder), {});
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_TRUE(run.dialogs.empty()) << run.seen;
        EXPECT_TRUE(EveryoneHasFullAccess(folder));
    }
};

TEST_F(RegistrationTest, EachRunLaunchesTheToolSilentlyOnTheQuotedControlPath) {
    const std::wstring folder = L"D:\\Apps\\Registration Test (x86)\\";
    RemoveTree(folder);
    MakeFolder(folder);
    Install(folder);
    AddSibling(folder);
    AddStandIn(folder);

    ExpectSilentSuccess(folder);
    RestrictEveryone(folder);
    ExpectSilentSuccess(folder);

    const std::string line = "Regsvr32.exe /s \"" + common::WideToAnsi(folder) + "SetACL.ocx\"\r\n";
    EXPECT_EQ(ReadText(folder + kStandInLog), line + line);
}

struct NoControl {
    const char* name;
    bool folderOfThatName;
};

class NoControlFile : public RegistrationTest, public ::testing::WithParamInterface<NoControl> {};

TEST_P(NoControlFile, LaunchesNothing) {
    // Registered elsewhere, so that the run itself can succeed.
    ASSERT_EQ(RunSystemRegsvr32(uidriver::Quote(PayloadFolder() + L"SetACL.ocx")), 0u);
    Install(appDir_, /*withControl=*/false);
    AddSibling(appDir_);
    AddStandIn(appDir_);
    if (GetParam().folderOfThatName) MakeFolder(appDir_ + L"SetACL.ocx");

    ExpectSilentSuccess(appDir_);
    EXPECT_FALSE(IsFile(appDir_ + kStandInLog));
}

INSTANTIATE_TEST_SUITE_P(Cases, NoControlFile,
                         ::testing::Values(NoControl{"Missing", false}, NoControl{"FolderOfThatName", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistrationTest, ASlowToolIsWaitedForBeforeTheWindowNeedsTheControl) {
    Unregister();
    Install(appDir_);
    AddSibling(appDir_);
    AddStandIn(appDir_);
    WriteText(appDir_ + L"Regsvr32.delay", "5");

    ExpectSilentSuccess(appDir_);
    EXPECT_FALSE(ReadText(appDir_ + kStandInLog).empty());
}

TEST_F(RegistrationTest, ANeverRegisteredControlIsRegisteredByTheGenuineTool) {
    Unregister();
    Install(appDir_);
    AddSibling(appDir_);

    ExpectSilentSuccess(appDir_);
    ExpectGrantedInOrder(kKeyFolder, appDir_);
}

}  // namespace
}  // namespace e2e

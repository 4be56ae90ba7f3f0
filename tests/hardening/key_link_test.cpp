// The key folder already exists as a link to a folder elsewhere, planted by an
// ordinary user (key_link.sh): the program must not grant through it. It reports
// the key folder like any failed grant and still grants the other two folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/hardening/acl_probe.h"
#include "tests/hardening/program_run.h"

namespace {

using namespace hardening;

TEST(KeyFolderLink, ProgramDoesNotGrantThroughAPlantedKeyFolderLink) {
    const std::wstring app = L"D:\\hardening-keylink\\App";
    ASSERT_TRUE(::GetFileAttributesW(kKeyFolder) & FILE_ATTRIBUTE_REPARSE_POINT) << "key_link.sh plants the link";
    StageApplicationFolder(app);
    RegisterControl(app);

    const RunOutcome outcome = RunProgram(app, true);
    ASSERT_EQ(0u, outcome.exitCode) << "windows open: " << outcome.windows;
    EXPECT_EQ(1u, outcome.messageBoxes.size()) << "one box, for the key folder";
    for (const auto& text : outcome.messageBoxes) std::printf("message box: %s\n", text.c_str());
    EXPECT_FALSE(EveryoneHasFullAccess(L"D:\\hardening-keylink\\elsewhere"));
    EXPECT_TRUE(EveryoneHasFullAccess(app));
    EXPECT_TRUE(EveryoneHasFullAccess(TempFolder()));
}

}  // namespace

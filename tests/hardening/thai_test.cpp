// The whole program under the Thai ANSI code page (874), from an application folder
// named in Thai: the right folders are granted and "NET DIR" holds the folder's path
// in code page 874. Run by thai_codepage.sh in a Wine prefix started under th_TH.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/hardening/acl_probe.h"
#include "tests/hardening/program_run.h"

namespace {

using namespace hardening;

// "D:\โปรแกรม ไทย\งาน" and the same path as code page 874 bytes, spelt out here so
// that the check does not lean on the conversion it checks.
constexpr wchar_t kThaiRoot[] = L"D:\\\u0E42\u0E1B\u0E23\u0E41\u0E01\u0E23\u0E21 \u0E44\u0E17\u0E22";
constexpr wchar_t kThaiApp[] =
    L"D:\\\u0E42\u0E1B\u0E23\u0E41\u0E01\u0E23\u0E21 \u0E44\u0E17\u0E22\\\u0E07\u0E32\u0E19";
constexpr char kThaiAppIn874[] = "D:\\\xE2\xBB\xC3\xE1\xA1\xC3\xC1 \xE4\xB7\xC2\\\xA7\xD2\xB9\\";

TEST(ThaiCodePage, ProgramGrantsTheThaiFolderAndStoresItsPathIn874) {
    ASSERT_EQ(874u, ::GetACP()) << "the prefix was not started under the Thai locale";
    RemoveTree(kThaiRoot);
    RemoveTree(kKeyFolder);
    StageApplicationFolder(kThaiApp);
    RegisterControl(kThaiApp);

    const RunOutcome outcome = RunProgram(kThaiApp);
    ASSERT_EQ(0u, outcome.exitCode) << "windows open: " << outcome.windows;

    EXPECT_TRUE(EveryoneHasFullAccess(kThaiApp));
    EXPECT_TRUE(EveryoneHasFullAccess(kKeyFolder));
    EXPECT_TRUE(EveryoneHasFullAccess(TempFolder()));
    EXPECT_EQ(kKeyFolderAttributes, ::GetFileAttributesW(kKeyFolder));
    EXPECT_FALSE(EveryoneHasFullAccess(kThaiRoot)) << "the grant went above the application folder";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((std::wstring(kThaiApp) + L"\\SetACLLog.txt").c_str()));
    EXPECT_EQ(kThaiAppIn874, ParadoxSetting(kThaiApp, "NET DIR"));
    EXPECT_EQ("thai", ParadoxSetting(kThaiApp, "LANGDRIVER"));
}

}  // namespace

// The Paradox step of a normal run, through the real engine and its settings file:
// each setting written wherever it stands in its section, every other byte kept.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/e2e/ProgramFixture.h"

namespace e2e {
namespace {

struct Settings {
    const char* name;
    bool withEngine;
    std::string before;
    std::string after;  // "{APP}" stands for the application folder
};

class EngineSettings : public ProgramTest, public ::testing::WithParamInterface<Settings> {};

TEST_P(EngineSettings, AreWrittenByANormalRun) {
    Install(appDir_);
    AddSibling(appDir_);
    WriteText(appDir_ + L"IDAPI32.INI", GetParam().before);
    if (!GetParam().withEngine) {
        ASSERT_TRUE(::DeleteFileW((appDir_ + L"IDAPI32.dll").c_str()));
    }

    const RunResult run = RunProgram(Exe(appDir_), {});

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.dialogs.empty()) << run.seen;
    std::string expected = GetParam().after;
    for (size_t at = expected.find("{APP}"); at != std::string::npos; at = expected.find("{APP}"))
        expected.replace(at, 5, common::WideToAnsi(appDir_));
    EXPECT_EQ(ReadText(appDir_ + L"IDAPI32.INI"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, EngineSettings,
    ::testing::Values(
        Settings{"UsualOrder", true,
                 "; kept\r\n[\\DRIVERS\\PARADOX\\INIT]\r\nVERSION=4.0\r\nNET DIR=C:\\\r\nLANGDRIVER=ascii\r\n",
                 "; kept\r\n[\\DRIVERS\\PARADOX\\INIT]\r\nVERSION=4.0\r\nNET DIR={APP}\r\nLANGDRIVER=thai\r\n"},
        Settings{"LanguageDriverFirst", true,
                 "[\\DRIVERS\\PARADOX\\INIT]\nLANGDRIVER=ascii\nNET DIR=C:\\\n",
                 "[\\DRIVERS\\PARADOX\\INIT]\nLANGDRIVER=thai\nNET DIR={APP}\n"},
        Settings{"NamesInOtherCaseAndOtherSections", true,
                 "[\\DRIVERS\\DBASE\\INIT]\r\nNET DIR=E:\\\r\n[\\drivers\\paradox\\init]\r\nNet Dir=C:\\\r\n"
                 "LangDriver=ascii\r\n",
                 "[\\DRIVERS\\DBASE\\INIT]\r\nNET DIR=E:\\\r\n[\\drivers\\paradox\\init]\r\nNet Dir={APP}\r\n"
                 "LangDriver=thai\r\n"},
        Settings{"NoNetDirButALongerName", true,
                 "[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIRS=C:\\\r\nLANGDRIVER=ascii\r\n",
                 "[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIRS=C:\\\r\nLANGDRIVER=thai\r\n"},
        Settings{"NoEngine", false,
                 "[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIR=C:\\\r\nLANGDRIVER=ascii\r\n",
                 "[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIR=C:\\\r\nLANGDRIVER=ascii\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e

// The settings step against the real engine, found by the DLL search beside the
// test executable, on files of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dbconfig/ParadoxSettings.h"
#include "idapi/testing/ScratchFolder.h"

namespace dbconfig {
namespace {

using idapi::testing::ReadFileBytes;
using idapi::testing::WriteFileBytes;

const std::string kSection = "[\\DRIVERS\\PARADOX\\INIT]\r\n";
const std::string kFolder = "D:\\Apps\\Shared\\";

class ParadoxSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(::SetEnvironmentVariableW(L"IDAPI_CONFIG", ConfigPath().c_str())); }
    void TearDown() override { ::SetEnvironmentVariableW(L"IDAPI_CONFIG", nullptr); }

    std::wstring ConfigPath() const { return folder_.Path(L"IDAPI32.INI"); }

    idapi::testing::ScratchFolder folder_;
};

struct SettingsCase {
    const char* what;
    std::string before;
    std::string programDir;
    std::string after;
};

class ParadoxSettingsWriteTest : public ParadoxSettingsTest,
                                 public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ParadoxSettingsWriteTest, WritesEachMatchingEntryAndNothingElse) {
    const SettingsCase& c = GetParam();
    WriteFileBytes(ConfigPath(), c.before);
    WriteParadoxSettings(c.programDir);
    EXPECT_EQ(c.after, ReadFileBytes(ConfigPath())) << c.what;
}

const std::string kLong127 = "C:\\" + std::string(123, 'x') + "\\";
const std::string kLong128 = "C:\\" + std::string(124, 'x') + "\\";

INSTANTIATE_TEST_SUITE_P(
    Sections, ParadoxSettingsWriteTest,
    ::testing::Values(
        SettingsCase{"usual order", "; engine\r\n" + kSection + "VERSION=4.0\r\nNET DIR=C:\\\r\nLANGDRIVER=ascii\r\n",
                     kFolder,
                     "; engine\r\n" + kSection + "VERSION=4.0\r\nNET DIR=D:\\Apps\\Shared\\\r\nLANGDRIVER=thai\r\n"},
        SettingsCase{"LANGDRIVER before NET DIR", kSection + "LANGDRIVER=ascii\r\nNET DIR=C:\\\r\n", kFolder,
                     kSection + "LANGDRIVER=thai\r\nNET DIR=D:\\Apps\\Shared\\\r\n"},
        SettingsCase{"no NET DIR", kSection + "VERSION=4.0\r\nLANGDRIVER=ascii\r\n", kFolder,
                     kSection + "VERSION=4.0\r\nLANGDRIVER=thai\r\n"},
        SettingsCase{"names in other case", kSection + "net dir=C:\\\r\nLangDriver=ascii\r\n", kFolder,
                     kSection + "net dir=D:\\Apps\\Shared\\\r\nLangDriver=thai\r\n"},
        SettingsCase{"longer and shorter names do not match",
                     kSection + "NET DIR2=a\r\nNET DIRECTORY=b\r\nNET DI=c\r\nLANGDRIVERS=d\r\n", kFolder,
                     kSection + "NET DIR2=a\r\nNET DIRECTORY=b\r\nNET DI=c\r\nLANGDRIVERS=d\r\n"},
        SettingsCase{"the same names in another section",
                     "[\\DRIVERS\\DBASE\\INIT]\nNET DIR=x\nLANGDRIVER=y\n[\\DRIVERS\\PARADOX\\INIT]\nNET DIR=C:\\\n",
                     kFolder,
                     "[\\DRIVERS\\DBASE\\INIT]\nNET DIR=x\nLANGDRIVER=y\n[\\DRIVERS\\PARADOX\\INIT]\nNET DIR=" +
                         kFolder + "\n"},
        SettingsCase{"a folder of 127 characters fits", kSection + "NET DIR=C:\\\r\nLANGDRIVER=ascii\r\n",
                     kLong127, kSection + "NET DIR=" + kLong127 + "\r\nLANGDRIVER=thai\r\n"},
        SettingsCase{"a folder of 128 characters is not cut", kSection + "NET DIR=C:\\\r\nLANGDRIVER=ascii\r\n",
                     kLong128, kSection + "NET DIR=C:\\\r\nLANGDRIVER=thai\r\n"},
        SettingsCase{"8-bit folder names kept as they are", kSection + "NET DIR=C:\\\r\n",
                     "D:\\\xCA\xD2\xC2\\", kSection + "NET DIR=D:\\\xCA\xD2\xC2\\\r\n"}),
    [](const ::testing::TestParamInfo<SettingsCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(ParadoxSettingsTest, AnEngineThatCannotOpenThePathChangesNothing) {
    for (const std::string& text : {std::string("[\\DRIVERS\\DBASE\\INIT]\r\nNET DIR=C:\\\r\n"),
                                    kSection + "NET DIR=C:\\\r\nnot an entry\r\n"}) {
        WriteFileBytes(ConfigPath(), text);
        EXPECT_NO_THROW(WriteParadoxSettings(kFolder));
        EXPECT_EQ(text, ReadFileBytes(ConfigPath()));
    }
    ::DeleteFileW(ConfigPath().c_str());
    EXPECT_NO_THROW(WriteParadoxSettings(kFolder));
    EXPECT_EQ(0xFFFFFFFFu, ::GetFileAttributesW(ConfigPath().c_str())) << "no file made up";
}

}  // namespace
}  // namespace dbconfig

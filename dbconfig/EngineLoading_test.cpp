// How the settings step finds its engine: each case runs the step in a process
// of its own, in a folder that holds the engine, a broken one, or none.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "idapi/testing/ChildProcess.h"
#include "idapi/testing/ScratchFolder.h"

namespace dbconfig {
namespace {

using idapi::testing::ChildProcess;
using idapi::testing::CopyFileOrFail;
using idapi::testing::ExecutableFolder;
using idapi::testing::ReadFileBytes;

const std::string kConfig = "[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIR=C:\\\r\nLANGDRIVER=ascii\r\n";

class EngineLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        idapi::testing::WriteFileBytes(folder_.Path(L"IDAPI32.INI"), kConfig);
        ASSERT_TRUE(::SetEnvironmentVariableW(L"IDAPI_CONFIG", folder_.Path(L"IDAPI32.INI").c_str()));
        CopyFileOrFail(ExecutableFolder() + L"dbconfig_step.exe", folder_.Path(L"step.exe"));
    }
    void TearDown() override { ::SetEnvironmentVariableW(L"IDAPI_CONFIG", nullptr); }

    DWORD RunStep() {
        return ChildProcess(folder_.Path(L"step.exe"), L"C:\\Shared\\ \"" + folder_.Path(L"error.txt") + L"\"")
            .Wait();
    }
    std::string Config() const { return ReadFileBytes(folder_.Path(L"IDAPI32.INI")); }
    bool ErrorWritten() const {
        return ::GetFileAttributesW(folder_.Path(L"error.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    idapi::testing::ScratchFolder folder_;
};

TEST_F(EngineLoadingTest, WithoutAnEngineNothingHappens) {
    EXPECT_EQ(0u, RunStep());
    EXPECT_FALSE(ErrorWritten());
    EXPECT_EQ(kConfig, Config());
}

TEST_F(EngineLoadingTest, AnEngineBesideTheProgramIsUsed) {
    CopyFileOrFail(ExecutableFolder() + L"IDAPI32.dll", folder_.Path(L"IDAPI32.dll"));
    EXPECT_EQ(0u, RunStep());
    EXPECT_FALSE(ErrorWritten());
    EXPECT_EQ("[\\DRIVERS\\PARADOX\\INIT]\r\nNET DIR=C:\\Shared\\\r\nLANGDRIVER=thai\r\n", Config());
}

TEST_F(EngineLoadingTest, AnEngineLackingAFunctionRaisesAnError) {
    CopyFileOrFail(ExecutableFolder() + L"without-exit\\IDAPI32.dll", folder_.Path(L"IDAPI32.dll"));
    EXPECT_EQ(3u, RunStep());
    ASSERT_TRUE(ErrorWritten());
    EXPECT_EQ("IDAPI32.DLL has no function DbiExit.", ReadFileBytes(folder_.Path(L"error.txt")));
    EXPECT_EQ(kConfig, Config());
}

}  // namespace
}  // namespace dbconfig

// The engine used by several processes at once, and by one that is killed.
#include <windows.h>

#include <random>
#include <string>

#include "idapi/ConfigFile.h"
#include "idapi/testing/ChildProcess.h"
#include "idapi/testing/EngineFixture.h"

namespace idapi {
namespace {

using testing::ChildProcess;
using testing::ExecutableFolder;

class EngineProcessesTest : public testing::EngineFixture {
protected:
    // Read through the engine, so under its lock: a plain reader holding the
    // file open would make the writer's replacement fail.
    std::string FirstValue() {
        CursorHandle cursor = 0;
        EXPECT_EQ(kOk, Open("\\P", cursor));
        const CfgRecord record = FetchNth(cursor, 1);
        EXPECT_EQ(kOk, engine_.DbiCloseCursor(&cursor));
        return record.value;
    }

    const std::wstring writer_ = ExecutableFolder() + L"idapi_test_writer.exe";
};

std::string ValueOf(const std::string& text, const char* path, const char* name) {
    const std::optional<ConfigFile> parsed = ParseConfigFile(text);
    if (!parsed) return "<unparsable>";
    const ConfigSection* section = FindSection(*parsed, path);
    const ConfigEntry* entry = section ? FindEntry(*section, name, 0) : nullptr;
    return entry ? text.substr(entry->valueOffset, entry->valueLength) : "<missing>";
}

TEST_F(EngineProcessesTest, TwoProcessesWritingDifferentEntriesLoseNeither) {
    WriteConfig("; shared\r\n[\\P]\r\nA=start\r\nB=start\r\n");
    constexpr int kWrites = 150;
    ChildProcess writer(writer_, L"\\P A " + std::to_wstring(kWrites) + L" a");

    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));
    for (int i = 0; i < kWrites; ++i) {
        CfgRecord record = FetchNth(cursor, 2);
        ASSERT_STREQ("B", record.name);
        testing::SetValue(record, "b" + std::to_string(i));
        ASSERT_EQ(kOk, engine_.DbiModifyRecord(cursor, &record, -1));
    }
    ASSERT_EQ(0u, writer.Wait());

    const std::string last = std::to_string(kWrites - 1);
    EXPECT_EQ("; shared\r\n[\\P]\r\nA=a" + last + "\r\nB=b" + last + "\r\n", ReadConfig());
}

TEST_F(EngineProcessesTest, AKilledWriterLeavesTheOldOrTheNewFile) {
    const std::string before = "; kept\n[\\P]\nA=start\nB=untouched\n";
    WriteConfig(before);
    std::mt19937 random(12345);
    for (int round = 0; round < 15; ++round) {
        const std::string current = FirstValue();
        ChildProcess writer(writer_, L"\\P A 1000000 r" + std::to_wstring(round) + L"-");
        // Kill it once it is writing, at a point that varies from round to round.
        for (int polls = 0; FirstValue() == current; ++polls) {
            ASSERT_LT(polls, 20000) << "the writer never wrote";
            ::Sleep(1);
        }
        ::Sleep(std::uniform_int_distribution<DWORD>(0, 30)(random));
        writer.Kill();

        const std::string after = ReadConfig();
        const std::string value = ValueOf(after, "\\P", "A");
        ASSERT_EQ(0u, value.rfind("r" + std::to_string(round) + "-", 0)) << after;
        ASSERT_EQ("; kept\n[\\P]\nA=" + value + "\nB=untouched\n", after);
    }
    // A lock its holder died with is taken over, not waited for.
    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));
    CfgRecord record = FetchNth(cursor, 1);
    testing::SetValue(record, "done");
    ASSERT_EQ(kOk, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ("; kept\n[\\P]\nA=done\nB=untouched\n", ReadConfig());
}

TEST_F(EngineProcessesTest, WithoutTheVariableTheFileBesideTheDllIsUsed) {
    testing::CopyFileOrFail(writer_, folder_.Path(L"writer.exe"));
    testing::CopyFileOrFail(ExecutableFolder() + L"IDAPI32.dll", folder_.Path(L"IDAPI32.dll"));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"IDAPI_CONFIG", nullptr));

    EXPECT_EQ(1u, ChildProcess(folder_.Path(L"writer.exe"), L"\\P A 1 x").Wait()) << "no file: no write";
    EXPECT_EQ(2u, folder_.FileNames().size());

    testing::WriteFileBytes(folder_.Path(L"IDAPI32.INI"), "[\\P]\nA=1\n");
    EXPECT_EQ(0u, ChildProcess(folder_.Path(L"writer.exe"), L"\\P A 1 x").Wait());
    EXPECT_EQ("[\\P]\nA=x0\n", testing::ReadFileBytes(folder_.Path(L"IDAPI32.INI")));
}

}  // namespace
}  // namespace idapi

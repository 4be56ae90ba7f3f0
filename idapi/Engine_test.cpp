// The real engine DLL against files of its own: fetching, writing back, refusals.
#include <cstring>
#include <string>

#include "idapi/testing/EngineFixture.h"

namespace idapi {
namespace {

using testing::EngineFixture;
using testing::SetValue;

class EngineTest : public EngineFixture {};

CfgRecord Expected(const char* name, const std::string& value) {
    CfgRecord record{};
    std::strcpy(record.name, name);
    record.dataType = kCfgTypeText;
    std::memcpy(record.value, value.c_str(), value.size() + 1);
    return record;
}

void ExpectSameRecord(const CfgRecord& expected, const CfgRecord& actual) {
    EXPECT_STREQ(expected.name, actual.name);
    EXPECT_STREQ(expected.value, actual.value);
    EXPECT_EQ(0, std::memcmp(&expected, &actual, sizeof(CfgRecord))) << "some byte of " << expected.name;
}

TEST_F(EngineTest, FetchesEveryEntryOfThePathInOrderThenEndOfList) {
    const std::string longest = std::string(127, 'v');
    WriteConfig("; settings\r\n"
                "[\\DRIVERS\\DBASE\\INIT]\r\n"
                "NET DIR=elsewhere\r\n"
                "[\\DRIVERS\\PARADOX\\INIT]\r\n"
                "VERSION=4.0\r\n"
                "  NET DIR = C:\\a=b \r\n"
                "\r\n"
                "  ; a comment between entries\r\n"
                "EMPTY=\r\n"
                "NAME_OF_THIRTY_ONE_CHARACTERS_=" + longest + "\n"
                "[\\SYSTEM\\INIT]\r\n"
                "LANGDRIVER=ascii");
    CursorHandle cursor = 0;
    // Paths are matched without regard to the case of A-Z.
    ASSERT_EQ(kOk, Open("\\drivers\\Paradox\\init", cursor));
    ASSERT_NE(0u, cursor);
    ASSERT_EQ(kOk, engine_.DbiSetToBegin(cursor));

    const CfgRecord expected[] = {Expected("VERSION", "4.0"), Expected("NET DIR", " C:\\a=b "),
                                  Expected("EMPTY", ""),
                                  Expected("NAME_OF_THIRTY_ONE_CHARACTERS_", longest)};
    for (const CfgRecord& want : expected) {
        CfgRecord record;
        std::memset(&record, 0xCC, sizeof(record));  // every byte must be filled
        ASSERT_EQ(kOk, engine_.DbiGetNextRecord(cursor, 1, &record, nullptr));
        ExpectSameRecord(want, record);
    }
    CfgRecord record{};
    EXPECT_EQ(kErrEndOfList, engine_.DbiGetNextRecord(cursor, 1, &record, nullptr));
    EXPECT_EQ(kErrEndOfList, engine_.DbiGetNextRecord(cursor, 1, &record, nullptr));

    ASSERT_EQ(kOk, engine_.DbiSetToBegin(cursor));
    ASSERT_EQ(kOk, engine_.DbiGetNextRecord(cursor, 1, &record, nullptr));
    ExpectSameRecord(expected[0], record);
}

struct WriteBackCase {
    const char* what;
    std::string before;
    int fetches;  // the entry written back is the one fetched last
    std::string value;
    std::string after;
};

class EngineWriteBackTest : public EngineFixture, public ::testing::WithParamInterface<WriteBackCase> {};

TEST_P(EngineWriteBackTest, ChangesThatValueAndNoOtherByte) {
    const WriteBackCase& c = GetParam();
    WriteConfig(c.before);
    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));
    CfgRecord record = FetchNth(cursor, c.fetches);
    SetValue(record, c.value);
    ASSERT_EQ(kOk, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ(c.after, ReadConfig());
    EXPECT_EQ(1u, folder_.FileNames().size()) << "a file left beside the configuration";

    // The cursor goes on from the entry written, which now reads as written.
    CfgRecord again = FetchNth(cursor, c.fetches);
    EXPECT_STREQ(c.value.c_str(), again.value);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EngineWriteBackTest,
    ::testing::Values(
        WriteBackCase{"CR LF endings and comments", "; c\r\n[\\P]\r\nA=1\r\n; mid\r\nB=22\r\n; end\r\n", 2, "x",
                      "; c\r\n[\\P]\r\nA=1\r\n; mid\r\nB=x\r\n; end\r\n"},
        WriteBackCase{"LF endings, none on the last line", "[\\P]\nA=1\nB=22", 2, "a longer value",
                      "[\\P]\nA=1\nB=a longer value"},
        WriteBackCase{"mixed endings", "[\\P]\r\nA=1\nB=2\r\n", 1, "", "[\\P]\r\nA=\nB=2\r\n"},
        WriteBackCase{"spaces around names and values", "[\\P]\n  A =  1 \n\tB=\n", 1, "v",
                      "[\\P]\n  A =v\n\tB=\n"},
        WriteBackCase{"the second of equal names", "[\\P]\nA=1\nA=2\nA=3\n", 2, "x", "[\\P]\nA=1\nA=x\nA=3\n"},
        WriteBackCase{"the same name in another section", "[\\Q]\nA=q\n[\\P]\nA=p\n[\\R]\nA=r\n", 1, "x",
                      "[\\Q]\nA=q\n[\\P]\nA=x\n[\\R]\nA=r\n"},
        WriteBackCase{"8-bit bytes kept as they are", "[\\P]\n\xE0\xB9\x84=\xA1\xA2\n", 1, "\xF0\xFF",
                      "[\\P]\n\xE0\xB9\x84=\xF0\xFF\n"}),
    [](const ::testing::TestParamInfo<WriteBackCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(EngineTest, WriteBackUsesOnlyTheRecordsValue) {
    WriteConfig("[\\P]\nA=1\nB=2\n");
    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));
    CfgRecord record = FetchNth(cursor, 1);
    std::strcpy(record.name, "B");
    std::strcpy(record.description, "changed");
    record.dataType = 77;
    SetValue(record, "new");
    ASSERT_EQ(kOk, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ("[\\P]\nA=new\nB=2\n", ReadConfig());
}

TEST_F(EngineTest, WriteBackReadsTheFileAfreshAndKeepsOtherChanges) {
    WriteConfig("[\\P]\nA=1\nB=2\n");
    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));
    CfgRecord record = FetchNth(cursor, 2);

    // Someone else edits the file after our cursor was opened.
    WriteConfig("; edited\n[\\P]\nA=changed\nB=2\nC=3\n");
    SetValue(record, "ours");
    ASSERT_EQ(kOk, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ("; edited\n[\\P]\nA=changed\nB=ours\nC=3\n", ReadConfig());

    // The entry has gone from the file: nothing is written.
    const std::string without = "[\\P]\nA=changed\n";
    WriteConfig(without);
    EXPECT_EQ(kErrEntryGone, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ(without, ReadConfig());

    // The file has become unparsable: it is never rewritten.
    const std::string malformed = "[\\P]\nA=changed\nB=2\nnonsense\n";
    WriteConfig(malformed);
    EXPECT_EQ(kErrFileMalformed, engine_.DbiModifyRecord(cursor, &record, -1));
    EXPECT_EQ(malformed, ReadConfig());
}

TEST_F(EngineTest, RefusesAWriteBackThatCannotBeStored) {
    const std::string original = "[\\P]\nA=1\n";
    WriteConfig(original);
    CursorHandle cursor = 0;
    ASSERT_EQ(kOk, Open("\\P", cursor));

    CfgRecord unfetched = FetchNth(cursor, 0);
    EXPECT_EQ(kErrNoCurrentEntry, engine_.DbiModifyRecord(cursor, &unfetched, -1)) << "before the first fetch";

    CfgRecord record = FetchNth(cursor, 1);
    std::memset(record.value, 'x', sizeof(record.value));
    EXPECT_EQ(kErrInvalidParam, engine_.DbiModifyRecord(cursor, &record, -1)) << "value without NUL";
    for (const char* broken : {"a\nB=injected", "a\rb"}) {
        SetValue(record, broken);
        EXPECT_EQ(kErrInvalidParam, engine_.DbiModifyRecord(cursor, &record, -1)) << "line break in value";
    }

    CfgRecord past{};
    ASSERT_EQ(kErrEndOfList, engine_.DbiGetNextRecord(cursor, 1, &past, nullptr));
    SetValue(record, "fine");
    EXPECT_EQ(kErrNoCurrentEntry, engine_.DbiModifyRecord(cursor, &record, -1)) << "after the end";

    CursorHandle readOnly = 0;
    ASSERT_EQ(kOk, Open("\\P", readOnly, kOpenReadOnly));
    CfgRecord fetched = FetchNth(readOnly, 1);
    SetValue(fetched, "fine");
    EXPECT_EQ(kErrReadOnly, engine_.DbiModifyRecord(readOnly, &fetched, -1));

    EXPECT_EQ(original, ReadConfig());
}

struct BadFileCase {
    const char* what;
    bool exists;
    std::string text;
    const char* path;
    DbiResult code;
};

class EngineBadFileTest : public EngineFixture, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(EngineBadFileTest, OpenFailsAndWritesNothing) {
    const BadFileCase& c = GetParam();
    if (c.exists) WriteConfig(c.text);
    CursorHandle cursor = 0;
    EXPECT_EQ(c.code, Open(c.path, cursor)) << c.what;
    EXPECT_EQ(0u, cursor);
    if (c.exists) {
        EXPECT_EQ(c.text, ReadConfig());
        EXPECT_EQ(1u, folder_.FileNames().size());
    } else {
        EXPECT_TRUE(folder_.FileNames().empty());
    }
}

const std::string kGood = "[\\P]\nA=1\n";

INSTANTIATE_TEST_SUITE_P(
    Files, EngineBadFileTest,
    ::testing::Values(
        BadFileCase{"missing file", false, "", "\\P", kErrFileMissing},
        BadFileCase{"unknown path", true, kGood, "\\Q", kErrUnknownPath},
        BadFileCase{"a path is matched whole", true, kGood, "\\P\\", kErrUnknownPath},
        BadFileCase{"entry before any section", true, "A=1\n" + kGood, "\\P", kErrFileMalformed},
        BadFileCase{"line that is no entry", true, kGood + "A 1\n", "\\P", kErrFileMalformed},
        BadFileCase{"unclosed section", true, "[\\P\nA=1\n", "\\P", kErrFileMalformed},
        BadFileCase{"empty section path", true, "[]\n" + kGood, "\\P", kErrFileMalformed},
        BadFileCase{"a path given twice", true, kGood + "[\\p]\nB=2\n", "\\P", kErrFileMalformed},
        BadFileCase{"empty name", true, kGood + " =1\n", "\\P", kErrFileMalformed},
        BadFileCase{"name of 32 characters", true, kGood + std::string(32, 'N') + "=1\n", "\\P",
                    kErrFileMalformed},
        BadFileCase{"value of 128 characters", true, kGood + "B=" + std::string(128, 'v') + "\n", "\\P",
                    kErrFileMalformed},
        BadFileCase{"NUL byte", true, kGood + std::string("B=a\0b\n", 6), "\\P", kErrFileMalformed},
        BadFileCase{"CR inside a line", true, kGood + "B=a\rb\n", "\\P", kErrFileMalformed}),
    [](const ::testing::TestParamInfo<BadFileCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(EngineTest, ExitReleasesEveryCursor) {
    WriteConfig(kGood);
    CursorHandle first = 0, second = 0;
    ASSERT_EQ(kOk, Open("\\P", first));
    ASSERT_EQ(kOk, Open("\\P", second));
    ASSERT_NE(first, second);

    CursorHandle closed = first;
    ASSERT_EQ(kOk, engine_.DbiCloseCursor(&closed));
    EXPECT_EQ(0u, closed);
    EXPECT_EQ(kErrInvalidHandle, engine_.DbiSetToBegin(first));
    ASSERT_EQ(kOk, engine_.DbiSetToBegin(second));

    ASSERT_EQ(kOk, engine_.DbiExit());
    CursorHandle none = 0;
    EXPECT_EQ(kErrNotInitialized, Open("\\P", none));
    EXPECT_EQ(kErrNotInitialized, engine_.DbiExit());

    ASSERT_EQ(kOk, engine_.DbiInitFn(500, nullptr));
    EXPECT_EQ(kErrInvalidHandle, engine_.DbiSetToBegin(second));
    CfgRecord record{};
    EXPECT_EQ(kErrInvalidHandle, engine_.DbiGetNextRecord(second, 1, &record, nullptr));
}

}  // namespace
}  // namespace idapi

#include "permissions/JobPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace permissions {
namespace {

TEST(JobPaths, KeyBaseDirTakesTheFirstCharacterAsTheDrive) {
    const struct {
        const char* programDir;
        const char* keyBaseDir;
    } cases[] = {
        {"D:\\Apps\\Shared\\", "D:\\KEY-BASE"},
        {"D:\\", "D:\\KEY-BASE"},
        {"c:\\Program Files (x86)\\Tarvo\\", "c:\\KEY-BASE"},
        {"\\\\server\\share\\Apps\\", "\\:\\KEY-BASE"},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyBaseDirFor(c.programDir), c.keyBaseDir) << c.programDir;
}

class TempVariable {
public:
    explicit TempVariable(const std::string& value) {
        char old[32768];
        const DWORD n = ::GetEnvironmentVariableA("TMP", old, sizeof old);
        hadValue_ = n > 0 && n < sizeof old;
        if (hadValue_) old_ = old;
        ::SetEnvironmentVariableA("TMP", value.c_str());
    }
    ~TempVariable() { ::SetEnvironmentVariableA("TMP", hadValue_ ? old_.c_str() : nullptr); }

private:
    bool hadValue_ = false;
    std::string old_;
};

TEST(JobPaths, TempDirIsThePlatformsPathOrNothingWhenItDoesNotFit) {
    char expected[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, expected), 0u);
    EXPECT_EQ(GetTempDir(), expected);

    // 259 characters plus the trailing backslash the platform adds fill the buffer exactly.
    const std::string fits = "C:\\" + std::string(255, 'f');
    {
        TempVariable tmp(fits);
        EXPECT_EQ(GetTempDir(), fits + "\\");
    }
    const std::string tooLong = "C:\\" + std::string(300, 'l');
    {
        TempVariable tmp(tooLong);
        EXPECT_EQ(GetTempDir(), "");
    }
}

}  // namespace
}  // namespace permissions

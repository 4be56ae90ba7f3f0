#include "tests/e2e/ProgramFixture.h"

#include <sstream>

#include "common/text.h"

namespace e2e {
namespace {

constexpr char kEngineSettings[] =
    "; Paradox settings for the end-to-end tests\r\n"
    "[\\DRIVERS\\PARADOX\\INIT]\r\n"
    "VERSION=4.0\r\n"
    "NET DIR=C:\\\r\n"
    "LANGDRIVER=ascii\r\n";

std::wstring TestName() {
    std::wstring name = common::AnsiToWide(::testing::UnitTest::GetInstance()->current_test_info()->name());
    for (auto& c : name)
        if (c == L'/') c = L'-';
    return name;
}

}  // namespace

void ProgramTest::SetUp() {
    RemoveTree(kKeyFolder);
    PrepareAppFolder();
}

void ProgramTest::PrepareAppFolder() {
    appDir_ = L"D:\\Apps\\" + TestName() + L"\\";
    RemoveTree(appDir_);
    MakeFolder(appDir_);
    RestrictEveryone(TempFolder());
    ASSERT_FALSE(EveryoneHasFullAccess(TempFolder()));
}

void ProgramTest::Install(const std::wstring& folder, bool withControl) {
    CopyPayload(L"Project1.exe", folder);
    if (withControl) CopyPayload(L"SetACL.ocx", folder);
    CopyPayload(L"IDAPI32.dll", folder);
    WriteText(WithSlash(folder) + L"IDAPI32.INI", kEngineSettings);
}

void ProgramTest::AddSibling(const std::wstring& folder, const std::wstring& name) {
    CopyPayload(L"placeholder.exe", folder, name);
}

std::string ProgramTest::Setting(const std::wstring& folder, const std::string& name) {
    std::istringstream lines(ReadText(WithSlash(folder) + L"IDAPI32.INI"));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(name + "=", 0) == 0) return line.substr(name.size() + 1);
    }
    return "(none)";
}

std::wstring ProgramTest::PromptRoot() {
    const std::wstring root = DesktopFolder() + L"\\ROOT";
    RemoveTree(root);
    MakeFolder(root);
    return root;
}

std::vector<std::string> ProgramTest::GrantedInLog(const std::wstring& appFolder) {
    std::istringstream lines(ReadText(WithSlash(appFolder) + kLogName));
    std::vector<std::string> granted;
    std::string target;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string choose = "ChooseTarget(\"";
        const size_t at = line.find(choose);
        if (at != std::string::npos) {
            const size_t start = at + choose.size();
            target = line.substr(start, line.find("\", ", start) - start);
        } else if (line.size() >= 19 && line.compare(line.size() - 19, 19, "ApplyRequest() -> 0") == 0) {
            granted.push_back(target);
        }
    }
    return granted;
}

void ProgramTest::ExpectGrantedInOrder(const std::wstring& keyFolder, const std::wstring& appFolder) {
    const std::wstring temp = TempFolder();
    EXPECT_TRUE(EveryoneHasFullAccess(keyFolder)) << common::WideToAnsi(keyFolder);
    EXPECT_TRUE(EveryoneHasFullAccess(appFolder)) << common::WideToAnsi(appFolder);
    EXPECT_TRUE(EveryoneHasFullAccess(temp)) << common::WideToAnsi(temp);
    const std::vector<std::string> expected = {common::WideToAnsi(keyFolder), common::WideToAnsi(appFolder),
                                               common::WideToAnsi(temp)};
    EXPECT_EQ(GrantedInLog(appFolder), expected);
}

void ProgramTest::ExpectNoneGranted(const std::wstring& appFolder) {
    EXPECT_FALSE(EveryoneHasFullAccess(appFolder));
    EXPECT_FALSE(EveryoneHasFullAccess(TempFolder()));
    if (IsFolder(kKeyFolder)) {
        EXPECT_FALSE(EveryoneHasFullAccess(kKeyFolder));
    }
}

}  // namespace e2e

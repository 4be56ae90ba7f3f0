// The resources built into Project1.exe, read back from the file as Windows reads them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_any.h"
#include "winui/FileUtils.h"

namespace {

std::string Project1Path() { return winui::ExtractFilePath(winui::ExeFileName()) + "Project1.exe"; }

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

class Project1Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module.reset(::LoadLibraryExA(Project1Path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module) << Project1Path();
    }
    std::string Bytes(LPCSTR type, LPCSTR name) const {
        const HRSRC found = ::FindResourceA(module.get(), name, type);
        if (found == nullptr) return {};
        const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module.get(), found)));
        return std::string(data, ::SizeofResource(module.get(), found));
    }
    common::unique_hmodule module;
};

TEST_F(Project1Resources, MainIconIsOne32By32ImageIn16Colours) {
    const std::string group = Bytes(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, "MAINICON");
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
    ASSERT_EQ(header->count, 1);
    EXPECT_EQ(header->entries[0].width, 32);
    EXPECT_EQ(header->entries[0].height, 32);
    EXPECT_EQ(header->entries[0].colorCount, 16);
    EXPECT_EQ(header->entries[0].bitCount, 4);
}

TEST_F(Project1Resources, ManifestAsksForAdministratorAndCommonControls6) {
    const std::string manifest = Bytes(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1));
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
}

TEST_F(Project1Resources, VersionResourceNamesTheProgram) {
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeA(Project1Path().c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoA(Project1Path().c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\OriginalFilename",
                                 reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, "Project1.exe");
}

}  // namespace

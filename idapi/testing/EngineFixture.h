#pragma once
// Test fixture: a configuration file of its own named by IDAPI_CONFIG, and the
// real engine initialised around each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "idapi/CfgRecord.h"
#include "idapi/testing/EngineApi.h"
#include "idapi/testing/ScratchFolder.h"

namespace idapi::testing {

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring ConfigPath() const { return folder_.Path(L"engine.ini"); }
    void WriteConfig(const std::string& text) const { WriteFileBytes(ConfigPath(), text); }
    std::string ReadConfig() const { return ReadFileBytes(ConfigPath()); }

    DbiResult Open(const char* path, CursorHandle& cursor, std::int32_t openMode = kOpenReadWrite) const;
    // Fetches `count` entries from the start; the last one fetched is current.
    CfgRecord FetchNth(CursorHandle cursor, int count) const;

    const EngineApi& engine_ = Engine();
    ScratchFolder folder_;
};

void SetValue(CfgRecord& record, const std::string& value);

}  // namespace idapi::testing

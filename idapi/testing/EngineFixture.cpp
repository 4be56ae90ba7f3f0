#include "idapi/testing/EngineFixture.h"

#include <windows.h>

#include <cstring>

namespace idapi::testing {

void EngineFixture::SetUp() {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"IDAPI_CONFIG", ConfigPath().c_str()));
    ASSERT_EQ(kOk, engine_.DbiInitFn(500, nullptr));
}

void EngineFixture::TearDown() {
    engine_.DbiExit();
    ::SetEnvironmentVariableW(L"IDAPI_CONFIG", nullptr);
}

DbiResult EngineFixture::Open(const char* path, CursorHandle& cursor, std::int32_t openMode) const {
    return engine_.DbiOpenCfgInfoList(0, openMode, kCfgPersistent, path, &cursor);
}

CfgRecord EngineFixture::FetchNth(CursorHandle cursor, int count) const {
    CfgRecord record{};
    EXPECT_EQ(kOk, engine_.DbiSetToBegin(cursor));
    for (int i = 0; i < count; ++i) EXPECT_EQ(kOk, engine_.DbiGetNextRecord(cursor, 1, &record, nullptr));
    return record;
}

void SetValue(CfgRecord& record, const std::string& value) {
    ASSERT_LT(value.size(), sizeof(record.value));
    std::memcpy(record.value, value.c_str(), value.size() + 1);
}

}  // namespace idapi::testing

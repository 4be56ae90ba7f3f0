// Test helper: writes "<prefix><i>" into one entry, count times, each time as a
// program would (initialise, open, find the entry, write back, shut down).
// Usage: idapi_test_writer <path> <entry name> <count> <prefix>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "idapi/CfgRecord.h"
#include "idapi/testing/EngineApi.h"

namespace {

idapi::DbiResult WriteOnce(const idapi::testing::EngineApi& engine, const char* path, const char* name,
                           const std::string& value) {
    if (const idapi::DbiResult result = engine.DbiInitFn(500, nullptr); result != idapi::kOk) return result;
    idapi::CursorHandle cursor = 0;
    idapi::DbiResult result = engine.DbiOpenCfgInfoList(0, idapi::kOpenReadWrite, idapi::kCfgPersistent,
                                                        path, &cursor);
    idapi::CfgRecord record{};
    while (result == idapi::kOk &&
           (result = engine.DbiGetNextRecord(cursor, 0, &record, nullptr)) == idapi::kOk) {
        if (std::strcmp(record.name, name) == 0) {
            std::memcpy(record.value, value.c_str(), value.size() + 1);
            result = engine.DbiModifyRecord(cursor, &record, -1);
            break;
        }
    }
    engine.DbiExit();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: idapi_test_writer <path> <entry name> <count> <prefix>\n");
        return 2;
    }
    try {
        const auto& engine = idapi::testing::Engine();
        const long count = std::strtol(argv[3], nullptr, 10);
        for (long i = 0; i < count; ++i) {
            const idapi::DbiResult result = WriteOnce(engine, argv[1], argv[2], argv[4] + std::to_string(i));
            if (result != idapi::kOk) {
                std::fprintf(stderr, "write %ld failed: 0x%04x\n", i, result);
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

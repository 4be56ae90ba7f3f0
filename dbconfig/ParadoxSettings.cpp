#include "dbconfig/ParadoxSettings.h"

#include <cstring>

#include "dbconfig/EngineLibrary.h"
#include "idapi/CfgRecord.h"

namespace dbconfig {

namespace {

constexpr char kParadoxInitPath[] = "\\DRIVERS\\PARADOX\\INIT";
constexpr char kNetDirName[] = "NET DIR";
constexpr char kLangDriverName[] = "LANGDRIVER";
constexpr char kLangDriverValue[] = "thai";

constexpr std::uint16_t kEngineVersion = 500;
constexpr std::int32_t kLockModeRead = 1;
constexpr std::int16_t kFreeLock = -1;

char FoldAsciiCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whole names, A-Z without regard to case; every other byte must be equal, so the
// result does not depend on the locale.
bool EntryNameIs(const char (&name)[idapi::kCfgNameSize], const char* wanted) {
    for (std::size_t i = 0; i < idapi::kCfgNameSize; ++i) {
        if (FoldAsciiCase(name[i]) != FoldAsciiCase(wanted[i])) return false;
        if (wanted[i] == '\0') return true;
    }
    return false;
}

void SetValue(idapi::CfgRecord& record, const std::string& value) {
    std::memcpy(record.value, value.c_str(), value.size() + 1);
}

}  // namespace

void WriteParadoxSettings(const std::string& programDir) {
    const EngineFunctions* engine = LoadEngine();
    if (engine == nullptr) return;

    if (engine->DbiInitFn(kEngineVersion, nullptr) != idapi::kOk) return;
    idapi::CursorHandle cursor = 0;
    if (engine->DbiOpenCfgInfoList(0, idapi::kOpenReadWrite, idapi::kCfgPersistent, kParadoxInitPath,
                                   &cursor) != idapi::kOk ||
        engine->DbiSetToBegin(cursor) != idapi::kOk) {
        engine->DbiExit();
        return;
    }

    // A folder that does not fit the value would be cut to a wrong one: leave it.
    const bool writeNetDir = programDir.size() < idapi::kCfgValueSize;
    // One pass writes each setting wherever it stands in the section.
    idapi::CfgRecord record{};
    while (engine->DbiGetNextRecord(cursor, kLockModeRead, &record, nullptr) == idapi::kOk) {
        if (writeNetDir && EntryNameIs(record.name, kNetDirName)) {
            SetValue(record, programDir);
        } else if (EntryNameIs(record.name, kLangDriverName)) {
            SetValue(record, kLangDriverValue);
        } else {
            continue;
        }
        // A failed write-back goes unnoticed, like every engine failure here.
        engine->DbiModifyRecord(cursor, &record, kFreeLock);
    }
    // Shutting down also releases the cursor.
    engine->DbiExit();
}

}  // namespace dbconfig

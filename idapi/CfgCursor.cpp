#include "idapi/CfgCursor.h"

#include <cstring>
#include <string_view>

#include "idapi/ConfigStore.h"

namespace idapi {

CfgCursor::CfgCursor(std::wstring file, std::string path, bool readOnly, std::vector<Entry> entries)
    : file_(std::move(file)), path_(std::move(path)), readOnly_(readOnly), entries_(std::move(entries)) {}

DbiResult CfgCursor::Open(const std::wstring& file, const char* path, bool readOnly,
                          std::optional<CfgCursor>& cursor) {
    LoadedConfig config;
    if (const DbiResult result = LoadConfig(file, config); result != kOk) return result;
    const ConfigSection* section = FindSection(config.parsed, path);
    if (section == nullptr) return kErrUnknownPath;

    std::vector<Entry> entries;
    for (const ConfigEntry& entry : section->entries) {
        std::size_t occurrence = 0;
        for (const Entry& earlier : entries) {
            if (earlier.name == entry.name) ++occurrence;
        }
        entries.push_back(Entry{entry.name, config.text.substr(entry.valueOffset, entry.valueLength),
                                occurrence});
    }
    cursor.emplace(CfgCursor(file, section->path, readOnly, std::move(entries)));
    return kOk;
}

void CfgCursor::SetToBegin() {
    next_ = 0;
    current_.reset();
}

DbiResult CfgCursor::Next(CfgRecord& record) {
    if (next_ >= entries_.size()) {
        current_.reset();
        return kErrEndOfList;
    }
    const Entry& entry = entries_[next_];
    // The parser bounds names and values, so both fit with their NUL.
    record = CfgRecord{};
    std::memcpy(record.name, entry.name.c_str(), entry.name.size() + 1);
    record.dataType = kCfgTypeText;
    std::memcpy(record.value, entry.value.c_str(), entry.value.size() + 1);
    current_ = next_++;
    return kOk;
}

DbiResult CfgCursor::Modify(const CfgRecord& record) {
    if (readOnly_) return kErrReadOnly;
    if (!current_) return kErrNoCurrentEntry;
    const void* end = std::memchr(record.value, '\0', sizeof(record.value));
    if (end == nullptr) return kErrInvalidParam;
    const std::string_view value(record.value, static_cast<const char*>(end) - record.value);

    Entry& entry = entries_[*current_];
    const DbiResult result = StoreEntryValue(file_, path_, entry.name, entry.occurrence, value);
    if (result == kOk) entry.value = value;
    return result;
}

}  // namespace idapi

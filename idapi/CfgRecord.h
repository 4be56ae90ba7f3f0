#pragma once
// The 292-byte configuration entry the engine fetches into and writes back from.
// Shared by the engine and its callers, so its layout is pinned byte for byte.
#include <cstddef>
#include <cstdint>

namespace idapi {

constexpr std::size_t kCfgNameSize = 32;
constexpr std::size_t kCfgDescriptionSize = 128;
constexpr std::size_t kCfgValueSize = 128;  // at most 127 characters and the NUL

// Every entry of the text file is a plain text value.
constexpr std::uint16_t kCfgTypeText = 1;

struct CfgRecord {
    char name[kCfgNameSize];
    char description[kCfgDescriptionSize];
    std::uint16_t dataType;
    char value[kCfgValueSize];
    std::uint16_t hasSubnodes;
};

// Natural alignment already gives these offsets; the checks keep it that way.
static_assert(offsetof(CfgRecord, name) == 0, "record layout");
static_assert(offsetof(CfgRecord, description) == 32, "record layout");
static_assert(offsetof(CfgRecord, dataType) == 160, "record layout");
static_assert(offsetof(CfgRecord, value) == 162, "record layout");
static_assert(offsetof(CfgRecord, hasSubnodes) == 290, "record layout");
static_assert(sizeof(CfgRecord) == 292, "record layout");

}  // namespace idapi

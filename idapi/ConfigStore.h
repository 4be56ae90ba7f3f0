#pragma once
// Reading the configuration file and writing one value back, safely against
// other processes and against being killed half-way.
#include <cstddef>
#include <string>
#include <string_view>

#include "idapi/ConfigFile.h"
#include "idapi/DbiApi.h"

namespace idapi {

struct LoadedConfig {
    std::string text;
    ConfigFile parsed;
};

[[nodiscard]] DbiResult LoadConfig(const std::wstring& path, LoadedConfig& config);

// Under a lock shared by every process using the file: reads it afresh, replaces
// the value of the occurrence-th entry called name in the section, and puts the
// result in place of the old file in one step.
[[nodiscard]] DbiResult StoreEntryValue(const std::wstring& path, std::string_view sectionPath,
                                        std::string_view name, std::size_t occurrence,
                                        std::string_view value);

}  // namespace idapi

#pragma once
// The engine's configuration file, parsed without changing a byte of it.
// Portable (no Windows headers) so that it can be fuzzed natively.
//
// Lines end in LF or CR LF; the last line may have no ending. Spaces and tabs
// around a line do not matter for telling its kind:
//   blank or starting with ";"   ignored
//   "[" path "]"                 starts the section of that configuration path
//   name "=" value               an entry of the current section; the name is
//                                trimmed, the value is every byte after the first
//                                "=" up to the line ending, as it stands
// Anything else, an entry before the first section, an empty or over-long name
// (31 bytes at most), a value over 127 bytes, a path given twice, a NUL byte or
// a CR that does not end a line makes the whole file unparsable.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace idapi {

constexpr std::size_t kMaxNameLength = 31;
constexpr std::size_t kMaxValueLength = 127;

struct ConfigEntry {
    std::string name;
    std::size_t valueOffset;  // where the value's bytes stand in the file
    std::size_t valueLength;
};

struct ConfigSection {
    std::string path;
    std::vector<ConfigEntry> entries;
};

struct ConfigFile {
    std::vector<ConfigSection> sections;
};

std::optional<ConfigFile> ParseConfigFile(std::string_view text);

// Paths are matched whole, the letters A-Z without regard to case.
const ConfigSection* FindSection(const ConfigFile& file, std::string_view path);

// The occurrence-th entry (counting from 0) of that exact name in the section.
const ConfigEntry* FindEntry(const ConfigSection& section, std::string_view name,
                             std::size_t occurrence);

// Whether a value can be written without changing the file's structure.
bool IsStorableValue(std::string_view value);

// The file's text with one entry's value replaced; every other byte unchanged.
std::string ReplaceValue(std::string_view text, const ConfigEntry& entry, std::string_view value);

}  // namespace idapi

#include "idapi/ConfigFile.h"

namespace idapi {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldAsciiCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<ConfigFile> ParseConfigFile(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;

    ConfigFile file;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        const std::size_t next = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        if (lineEnd > lineStart && text[lineEnd - 1] == '\r') --lineEnd;
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (line.find('\r') != std::string_view::npos) return std::nullopt;

        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';') {
            // blank line or comment
        } else if (trimmed.front() == '[') {
            if (trimmed.size() < 3 || trimmed.back() != ']') return std::nullopt;
            const std::string_view path = trimmed.substr(1, trimmed.size() - 2);
            if (FindSection(file, path) != nullptr) return std::nullopt;
            file.sections.push_back(ConfigSection{std::string(path), {}});
        } else {
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos || file.sections.empty()) return std::nullopt;
            const std::string_view name = Trim(line.substr(0, equals));
            const std::size_t valueLength = line.size() - equals - 1;
            if (name.empty() || name.size() > kMaxNameLength || valueLength > kMaxValueLength) {
                return std::nullopt;
            }
            file.sections.back().entries.push_back(
                ConfigEntry{std::string(name), lineStart + equals + 1, valueLength});
        }
        lineStart = next;
    }
    return file;
}

const ConfigSection* FindSection(const ConfigFile& file, std::string_view path) {
    for (const ConfigSection& section : file.sections) {
        if (EqualAsciiNoCase(section.path, path)) return &section;
    }
    return nullptr;
}

const ConfigEntry* FindEntry(const ConfigSection& section, std::string_view name,
                             std::size_t occurrence) {
    for (const ConfigEntry& entry : section.entries) {
        if (entry.name == name && occurrence-- == 0) return &entry;
    }
    return nullptr;
}

bool IsStorableValue(std::string_view value) {
    return value.size() <= kMaxValueLength && value.find_first_of(std::string_view("\0\r\n", 3)) ==
                                                  std::string_view::npos;
}

std::string ReplaceValue(std::string_view text, const ConfigEntry& entry, std::string_view value) {
    std::string result;
    result.reserve(text.size() - entry.valueLength + value.size());
    result.append(text.substr(0, entry.valueOffset));
    result.append(value);
    result.append(text.substr(entry.valueOffset + entry.valueLength));
    return result;
}

}  // namespace idapi

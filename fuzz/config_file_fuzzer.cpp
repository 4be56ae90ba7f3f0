// The engine's configuration-file reader: any bytes either parse into entries that
// point inside the text, or are refused. A parsed file takes a new value for any of
// its entries and parses again to the same structure with only that value changed;
// putting the old value back gives the original bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "idapi/ConfigFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Values the engine is asked to store, the awkward ones included.
const std::string_view kValues[] = {
    "",
    "D:\\Apps\\Shared\\",
    "thai",
    "  padded  ",
    "a=b=c",
    "; not a comment",
    "[NOT A SECTION]",
    "\xC0\xD2\xC9\xD2\xE4\xB7\xC2",                   // Thai in code page 874
    "\xE0\xB8\xA0\xE0\xB8\xB2\xE0\xB8\xA9\xE0\xB8\xB2",  // Thai in UTF-8
    std::string_view("\x01\x7f\xff\t", 4),
    "line\nbreak",
    "carriage\rreturn",
    std::string_view("nul\0inside", 10),
};

std::string_view ValueOf(const std::string_view text, const idapi::ConfigEntry& entry) {
    return text.substr(entry.valueOffset, entry.valueLength);
}

void CheckParsed(std::string_view text, const idapi::ConfigFile& file) {
    for (const auto& section : file.sections) {
        Check(idapi::FindSection(file, section.path) == &section);
        for (const auto& entry : section.entries) {
            Check(!entry.name.empty() && entry.name.size() <= idapi::kMaxNameLength);
            Check(entry.valueLength <= idapi::kMaxValueLength);
            Check(entry.valueOffset <= text.size() && entry.valueLength <= text.size() - entry.valueOffset);
            Check(idapi::IsStorableValue(ValueOf(text, entry)));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto file = idapi::ParseConfigFile(text);
    if (!file) return 0;
    CheckParsed(text, *file);

    // Rewrite one entry, picked and valued by the input itself.
    std::size_t count = 0;
    for (const auto& section : file->sections) count += section.entries.size();
    if (count == 0) return 0;
    std::size_t pick = (size * 31 + (size ? data[size / 2] : 0)) % count;
    std::size_t sectionIndex = 0;
    while (pick >= file->sections[sectionIndex].entries.size()) pick -= file->sections[sectionIndex++].entries.size();
    const idapi::ConfigSection& section = file->sections[sectionIndex];
    const idapi::ConfigEntry& entry = section.entries[pick];

    std::size_t occurrence = 0;
    for (std::size_t i = 0; i < pick; ++i) occurrence += section.entries[i].name == entry.name;
    Check(idapi::FindEntry(section, entry.name, occurrence) == &entry);

    const std::string_view value = kValues[(size + pick) % (sizeof(kValues) / sizeof(kValues[0]))];
    if (!idapi::IsStorableValue(value)) return 0;

    const std::string changed = idapi::ReplaceValue(text, entry, value);
    const auto reparsed = idapi::ParseConfigFile(changed);
    Check(reparsed.has_value());
    CheckParsed(changed, *reparsed);
    Check(reparsed->sections.size() == file->sections.size());
    for (std::size_t s = 0; s < file->sections.size(); ++s) {
        const auto& before = file->sections[s];
        const auto& after = reparsed->sections[s];
        Check(before.path == after.path && before.entries.size() == after.entries.size());
        for (std::size_t e = 0; e < before.entries.size(); ++e) {
            Check(before.entries[e].name == after.entries[e].name);
            const bool target = s == sectionIndex && e == pick;
            Check(ValueOf(changed, after.entries[e]) ==
                  (target ? value : ValueOf(text, before.entries[e])));
        }
    }
    Check(idapi::ReplaceValue(changed, reparsed->sections[sectionIndex].entries[pick], ValueOf(text, entry)) ==
          text);
    return 0;
}

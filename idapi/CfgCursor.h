#pragma once
// A cursor over the entries of one configuration path, as they stood when it
// was opened; a write-back goes straight to the file.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "idapi/CfgRecord.h"
#include "idapi/DbiApi.h"

namespace idapi {

class CfgCursor {
public:
    [[nodiscard]] static DbiResult Open(const std::wstring& file, const char* path, bool readOnly,
                                        std::optional<CfgCursor>& cursor);

    void SetToBegin();
    [[nodiscard]] DbiResult Next(CfgRecord& record);
    // Writes the record's value to the entry fetched last; the other fields are ignored.
    [[nodiscard]] DbiResult Modify(const CfgRecord& record);

private:
    struct Entry {
        std::string name;
        std::string value;
        std::size_t occurrence;  // among the section's entries of the same name
    };

    CfgCursor(std::wstring file, std::string path, bool readOnly, std::vector<Entry> entries);

    std::wstring file_;
    std::string path_;
    bool readOnly_;
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    std::optional<std::size_t> current_;
};

}  // namespace idapi

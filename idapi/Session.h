#pragma once
// The engine's state in one process: whether it is initialised, and its open cursors.
#include <cstdint>
#include <map>

#include "idapi/CfgCursor.h"
#include "idapi/DbiApi.h"

namespace idapi {

class Session {
public:
    [[nodiscard]] DbiResult Init();
    // Also closes every cursor still open.
    [[nodiscard]] DbiResult Exit();
    [[nodiscard]] DbiResult OpenCfgInfoList(CfgHandle config, std::int32_t openMode,
                                            std::int32_t configMode, const char* path,
                                            CursorHandle* cursor);
    [[nodiscard]] DbiResult SetToBegin(CursorHandle cursor);
    [[nodiscard]] DbiResult GetNextRecord(CursorHandle cursor, void* record);
    [[nodiscard]] DbiResult ModifyRecord(CursorHandle cursor, const void* record);
    [[nodiscard]] DbiResult CloseCursor(CursorHandle* cursor);

private:
    [[nodiscard]] DbiResult Find(CursorHandle handle, CfgCursor*& cursor);

    bool initialized_ = false;
    CursorHandle lastHandle_ = 0;
    std::map<CursorHandle, CfgCursor> cursors_;
};

}  // namespace idapi

#include "idapi/Session.h"

#include <cstring>

#include "idapi/ConfigLocation.h"

namespace idapi {

DbiResult Session::Init() {
    initialized_ = true;
    return kOk;
}

DbiResult Session::Exit() {
    if (!initialized_) return kErrNotInitialized;
    cursors_.clear();
    initialized_ = false;
    return kOk;
}

DbiResult Session::OpenCfgInfoList(CfgHandle config, std::int32_t openMode, std::int32_t configMode,
                                   const char* path, CursorHandle* cursor) {
    if (!initialized_) return kErrNotInitialized;
    if (cursor == nullptr || path == nullptr || config != 0 || configMode != kCfgPersistent ||
        (openMode != kOpenReadWrite && openMode != kOpenReadOnly)) {
        return kErrInvalidParam;
    }
    *cursor = 0;
    const std::wstring file = ConfigFilePath();
    if (file.empty()) return kErrFileMissing;

    std::optional<CfgCursor> opened;
    if (const DbiResult result = CfgCursor::Open(file, path, openMode == kOpenReadOnly, opened);
        result != kOk) {
        return result;
    }
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || cursors_.count(lastHandle_) != 0);
    cursors_.emplace(lastHandle_, std::move(*opened));
    *cursor = lastHandle_;
    return kOk;
}

DbiResult Session::SetToBegin(CursorHandle handle) {
    CfgCursor* cursor = nullptr;
    if (const DbiResult result = Find(handle, cursor); result != kOk) return result;
    cursor->SetToBegin();
    return kOk;
}

DbiResult Session::GetNextRecord(CursorHandle handle, void* record) {
    CfgCursor* cursor = nullptr;
    if (const DbiResult result = Find(handle, cursor); result != kOk) return result;
    if (record == nullptr) return kErrInvalidParam;
    // The caller's buffer need not be aligned: the record is copied as bytes.
    CfgRecord fetched;
    if (const DbiResult result = cursor->Next(fetched); result != kOk) return result;
    std::memcpy(record, &fetched, sizeof(fetched));
    return kOk;
}

DbiResult Session::ModifyRecord(CursorHandle handle, const void* record) {
    CfgCursor* cursor = nullptr;
    if (const DbiResult result = Find(handle, cursor); result != kOk) return result;
    if (record == nullptr) return kErrInvalidParam;
    CfgRecord modified;
    std::memcpy(&modified, record, sizeof(modified));
    return cursor->Modify(modified);
}

DbiResult Session::CloseCursor(CursorHandle* handle) {
    if (handle == nullptr) return kErrInvalidParam;
    CfgCursor* cursor = nullptr;
    if (const DbiResult result = Find(*handle, cursor); result != kOk) return result;
    cursors_.erase(*handle);
    *handle = 0;
    return kOk;
}

DbiResult Session::Find(CursorHandle handle, CfgCursor*& cursor) {
    if (!initialized_) return kErrNotInitialized;
    const auto found = cursors_.find(handle);
    if (found == cursors_.end()) return kErrInvalidHandle;
    cursor = &found->second;
    return kOk;
}

}  // namespace idapi

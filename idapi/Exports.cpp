// The DLL's entry points: one lock around the process's engine state, and no
// exception past the boundary.
#include <mutex>
#include <new>

#include "idapi/DbiApi.h"
#include "idapi/Session.h"

using idapi::CfgHandle;
using idapi::CursorHandle;
using idapi::DbiResult;

namespace {

std::mutex sessionLock;
idapi::Session session;

template <typename Call>
DbiResult Guarded(Call call) noexcept {
    try {
        std::lock_guard<std::mutex> hold(sessionLock);
        return call(session);
    } catch (...) {
        return idapi::kErrInternal;
    }
}

}  // namespace

extern "C" {

DbiResult __stdcall DbiInitFn(std::uint16_t /*version*/, void* /*environment*/) {
    return Guarded([](idapi::Session& s) { return s.Init(); });
}

DbiResult __stdcall DbiExit() {
    return Guarded([](idapi::Session& s) { return s.Exit(); });
}

DbiResult __stdcall DbiOpenCfgInfoList(CfgHandle config, std::int32_t openMode, std::int32_t configMode,
                                       const char* path, CursorHandle* cursor) {
    return Guarded([&](idapi::Session& s) {
        return s.OpenCfgInfoList(config, openMode, configMode, path, cursor);
    });
}

DbiResult __stdcall DbiSetToBegin(CursorHandle cursor) {
    return Guarded([&](idapi::Session& s) { return s.SetToBegin(cursor); });
}

DbiResult __stdcall DbiGetNextRecord(CursorHandle cursor, std::int32_t /*lockMode*/, void* record,
                                     void* /*recordProperties*/) {
    return Guarded([&](idapi::Session& s) { return s.GetNextRecord(cursor, record); });
}

DbiResult __stdcall DbiModifyRecord(CursorHandle cursor, void* record, std::int16_t /*freeLock*/) {
    return Guarded([&](idapi::Session& s) { return s.ModifyRecord(cursor, record); });
}

DbiResult __stdcall DbiCloseCursor(CursorHandle* cursor) {
    return Guarded([&](idapi::Session& s) { return s.CloseCursor(cursor); });
}

}  // extern "C"

// Test helper: an "IDAPI32.dll" that has every function the settings step needs
// except DbiExit. None of them may ever be called.
#include <cstdint>

#include "idapi/DbiApi.h"

using idapi::DbiResult;

extern "C" {

DbiResult __stdcall DbiInitFn(std::uint16_t, void*) { return idapi::kErrInternal; }
DbiResult __stdcall DbiOpenCfgInfoList(idapi::CfgHandle, std::int32_t, std::int32_t, const char*,
                                       idapi::CursorHandle*) {
    return idapi::kErrInternal;
}
DbiResult __stdcall DbiSetToBegin(idapi::CursorHandle) { return idapi::kErrInternal; }
DbiResult __stdcall DbiGetNextRecord(idapi::CursorHandle, std::int32_t, void*, void*) {
    return idapi::kErrInternal;
}
DbiResult __stdcall DbiModifyRecord(idapi::CursorHandle, void*, std::int16_t) { return idapi::kErrInternal; }

}  // extern "C"

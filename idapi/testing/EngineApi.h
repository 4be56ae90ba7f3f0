#pragma once
// Test helper: the engine DLL beside the test executable, loaded by its full path
// and with every export resolved, as a caller of the real DLL sees it.
#include "idapi/DbiApi.h"

namespace idapi::testing {

struct EngineApi {
    DbiInitFnProc DbiInitFn;
    DbiExitProc DbiExit;
    DbiOpenCfgInfoListProc DbiOpenCfgInfoList;
    DbiSetToBeginProc DbiSetToBegin;
    DbiGetNextRecordProc DbiGetNextRecord;
    DbiModifyRecordProc DbiModifyRecord;
    DbiCloseCursorProc DbiCloseCursor;
};

// Throws when the DLL or one of its exports is missing.
const EngineApi& Engine();

}  // namespace idapi::testing

#pragma once
#include <stdexcept>
#include <string>

#include "idapi/DbiApi.h"

namespace dbconfig {

class EngineFunctionMissing : public std::runtime_error {
public:
    explicit EngineFunctionMissing(const std::string& function);
};

struct EngineFunctions {
    idapi::DbiInitFnProc DbiInitFn;
    idapi::DbiExitProc DbiExit;
    idapi::DbiOpenCfgInfoListProc DbiOpenCfgInfoList;
    idapi::DbiSetToBeginProc DbiSetToBegin;
    idapi::DbiGetNextRecordProc DbiGetNextRecord;
    idapi::DbiModifyRecordProc DbiModifyRecord;
};

// Loads "IDAPI32.DLL" through the usual DLL search on first use and keeps it for
// the life of the process. Returns nullptr when no engine can be loaded; throws
// EngineFunctionMissing when the library lacks one of the functions.
const EngineFunctions* LoadEngine();

}  // namespace dbconfig

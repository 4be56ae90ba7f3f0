#include "idapi/testing/EngineApi.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "idapi/testing/ScratchFolder.h"

namespace idapi::testing {

namespace {

template <typename Proc>
void Resolve(HMODULE module, const char* name, Proc& proc) {
    const FARPROC address = ::GetProcAddress(module, name);
    if (address == nullptr) throw std::runtime_error(std::string("IDAPI32.dll lacks ") + name);
    proc = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(address));
}

EngineApi LoadEngineApi() {
    const HMODULE module = ::LoadLibraryW((ExecutableFolder() + L"IDAPI32.dll").c_str());
    if (module == nullptr) throw std::runtime_error("IDAPI32.dll not found beside the test");
    EngineApi api{};
    Resolve(module, "DbiInitFn", api.DbiInitFn);
    Resolve(module, "DbiExit", api.DbiExit);
    Resolve(module, "DbiOpenCfgInfoList", api.DbiOpenCfgInfoList);
    Resolve(module, "DbiSetToBegin", api.DbiSetToBegin);
    Resolve(module, "DbiGetNextRecord", api.DbiGetNextRecord);
    Resolve(module, "DbiModifyRecord", api.DbiModifyRecord);
    Resolve(module, "DbiCloseCursor", api.DbiCloseCursor);
    return api;
}

}  // namespace

const EngineApi& Engine() {
    static const EngineApi api = LoadEngineApi();
    return api;
}

}  // namespace idapi::testing

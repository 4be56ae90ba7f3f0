#include "dbconfig/EngineLibrary.h"

#include <windows.h>

namespace dbconfig {

namespace {

constexpr char kEngineDll[] = "IDAPI32.DLL";

template <typename Proc>
void Resolve(HMODULE module, const char* name, Proc& proc) {
    const FARPROC address = ::GetProcAddress(module, name);
    if (address == nullptr) throw EngineFunctionMissing(name);
    // Through the generic function-pointer type, which every compiler accepts.
    proc = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

EngineFunctionMissing::EngineFunctionMissing(const std::string& function)
    : std::runtime_error(std::string(kEngineDll) + " has no function " + function + ".") {}

const EngineFunctions* LoadEngine() {
    // Deliberately never freed: the engine stays loaded once it has been used.
    static HMODULE module = nullptr;
    static EngineFunctions functions{};
    static bool resolved = false;

    if (module == nullptr) module = ::LoadLibraryA(kEngineDll);
    if (module == nullptr) return nullptr;
    if (!resolved) {
        EngineFunctions found{};
        Resolve(module, "DbiInitFn", found.DbiInitFn);
        Resolve(module, "DbiExit", found.DbiExit);
        Resolve(module, "DbiOpenCfgInfoList", found.DbiOpenCfgInfoList);
        Resolve(module, "DbiSetToBegin", found.DbiSetToBegin);
        Resolve(module, "DbiGetNextRecord", found.DbiGetNextRecord);
        Resolve(module, "DbiModifyRecord", found.DbiModifyRecord);
        functions = found;
        resolved = true;
    }
    return &functions;
}

}  // namespace dbconfig

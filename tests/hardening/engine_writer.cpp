// One writer of the engine's configuration, as a program would use it: initialise,
// open the section, find its entry, write it back, shut down; count times over.
// After every write the engine confirmed, the count goes to the progress file, so
// whoever kills this process knows which changes were complete.
// Usage: hardening_engine_writer <entry name> <value tag> <count> <progress file>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/unique_any.h"
#include "idapi/CfgRecord.h"
#include "idapi/DbiApi.h"

namespace {

constexpr char kSection[] = "\\HARDENING\\LOAD";

template <typename Proc>
Proc Export(HMODULE engine, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(engine, name)));
}

struct Engine {
    explicit Engine(HMODULE module)
        : init(Export<idapi::DbiInitFnProc>(module, "DbiInitFn")),
          exit(Export<idapi::DbiExitProc>(module, "DbiExit")),
          open(Export<idapi::DbiOpenCfgInfoListProc>(module, "DbiOpenCfgInfoList")),
          begin(Export<idapi::DbiSetToBeginProc>(module, "DbiSetToBegin")),
          next(Export<idapi::DbiGetNextRecordProc>(module, "DbiGetNextRecord")),
          modify(Export<idapi::DbiModifyRecordProc>(module, "DbiModifyRecord")) {}
    bool complete() const { return init && exit && open && begin && next && modify; }

    idapi::DbiInitFnProc init;
    idapi::DbiExitProc exit;
    idapi::DbiOpenCfgInfoListProc open;
    idapi::DbiSetToBeginProc begin;
    idapi::DbiGetNextRecordProc next;
    idapi::DbiModifyRecordProc modify;
};

idapi::DbiResult WriteOnce(const Engine& engine, const char* name, const std::string& value) {
    if (const idapi::DbiResult result = engine.init(500, nullptr); result != idapi::kOk) return result;
    idapi::CursorHandle cursor = 0;
    idapi::DbiResult result = engine.open(0, idapi::kOpenReadWrite, idapi::kCfgPersistent, kSection, &cursor);
    if (result == idapi::kOk) result = engine.begin(cursor);
    idapi::CfgRecord record{};
    while (result == idapi::kOk && (result = engine.next(cursor, 1, &record, nullptr)) == idapi::kOk) {
        if (std::strcmp(record.name, name) == 0) {
            std::memcpy(record.value, value.c_str(), value.size() + 1);
            result = engine.modify(cursor, &record, -1);
            break;
        }
    }
    engine.exit();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: hardening_engine_writer <entry> <tag> <count> <progress file>\n");
        return 2;
    }
    const common::unique_hmodule module(::LoadLibraryA("IDAPI32.DLL"));
    if (!module) return 3;
    const Engine engine(module.get());
    if (!engine.complete()) return 3;

    common::unique_hfile progress(::CreateFileA(argv[4], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!progress) return 3;
    const long count = std::strtol(argv[3], nullptr, 10);
    for (long i = 1; i <= count; ++i) {
        const idapi::DbiResult result = WriteOnce(engine, argv[1], std::string(argv[2]) + "#" + std::to_string(i));
        if (result != idapi::kOk) {
            std::fprintf(stderr, "%s: write %ld failed with 0x%04x\n", argv[1], i, result);
            return 1;
        }
        // Fixed width, overwritten in place: the file always holds one whole number.
        char line[16];
        const int length = std::snprintf(line, sizeof(line), "%010ld\n", i);
        DWORD written = 0;
        ::SetFilePointer(progress.get(), 0, nullptr, FILE_BEGIN);
        if (!::WriteFile(progress.get(), line, static_cast<DWORD>(length), &written, nullptr)) return 3;
    }
    return 0;
}

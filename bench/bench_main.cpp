// The benchmark of the ACL control's grant and of the whole program under Wine.
//   bench run <Project1.exe> <minimal_window.exe> <cpus> <cpu model> <wine version>
// prints the report; it starts itself once per measured case:
//   bench floor <root>             the minimal security read/write loop
//   bench grant <root> <log file>  the control's grant through its dispatch interface
// and each case prints "ok <seconds> <peak working set in bytes>".
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench/control_grant.h"
#include "bench/driver.h"
#include "bench/floor_grant.h"
#include "bench/measure.h"
#include "common/text.h"

namespace {

void PrintCase(const bench::Stopwatch& clock) {
    const double seconds = clock.Seconds();
    std::printf("ok %.6f %lu\n", seconds,
                static_cast<unsigned long>(bench::PeakWorkingSet(::GetCurrentProcess())));
}

int Floor(const std::wstring& root) {
    const bench::Stopwatch clock;
    bench::FloorGrant(root);
    PrintCase(clock);
    return 0;
}

int Grant(const std::wstring& root, const std::wstring& logFile) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) throw std::runtime_error("CoInitializeEx failed");
    {
        bench::AclControl control;
        control.ChooseLogFile(logFile);
        const bench::Stopwatch clock;
        control.GrantEveryoneFull(root);
        PrintCase(clock);
    }
    ::CoUninitialize();
    return 0;
}

int Usage() {
    std::fputs("usage: bench run <program> <minimal window program> <cpus> <cpu model> <wine version>\n"
               "       bench floor <root>\n"
               "       bench grant <root> <log file>\n",
               stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const std::wstring command = argc > 1 ? argv[1] : L"";
        if (command == L"floor" && argc == 3) return Floor(argv[2]);
        if (command == L"grant" && argc == 4) return Grant(argv[2], argv[3]);
        if (command == L"run" && argc == 7) {
            bench::RunBenchmark({argv[2], argv[3]}, {common::WideToAnsi(argv[4]), common::WideToAnsi(argv[5]),
                                                     common::WideToAnsi(argv[6])});
            return 0;
        }
        return Usage();
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}

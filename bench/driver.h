#pragma once
// Runs every benchmark case, each measured process on its own, and prints the report.
#include <string>

#include "bench/report.h"

namespace bench {

struct Programs {
    std::wstring program;        // Project1.exe in its small application folder
    std::wstring minimalWindow;  // the minimal windowed program to compare it with
};

void RunBenchmark(const Programs& programs, const Machine& machine);

}  // namespace bench

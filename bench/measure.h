#pragma once
// Wall-clock timing and working-set figures for the benchmark cases.
#include <windows.h>

#include <cstddef>
#include <string>

namespace bench {

class Stopwatch {
public:
    Stopwatch() noexcept;
    double Seconds() const noexcept;

private:
    LARGE_INTEGER start_;
};

// Peak working set of a process, in bytes; 0 when the platform cannot say.
size_t PeakWorkingSet(HANDLE process) noexcept;

struct ChildRun {
    bool finished = false;  // false: it outlived the time limit and was ended
    DWORD exitCode = 0;
    double seconds = 0;
    size_t peakWorkingSet = 0;
    std::string output;  // its standard output, when captured
};

// Runs a command line to its end (bounded by limitSeconds) and times it from
// process creation to exit. The peak working set is sampled while it runs,
// since a process that has ended reports nothing any more.
// Output is captured only from our own cases: a program that hands the pipe on to
// a process it leaves running would keep the reader waiting.
ChildRun RunChild(const std::wstring& commandLine, const std::wstring& directory, double limitSeconds,
                  bool captureOutput);

}  // namespace bench

#include "bench/measure.h"

#include <psapi.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <thread>

#include "common/text.h"
#include "common/unique_any.h"

namespace bench {

namespace {

LARGE_INTEGER Now() noexcept {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

// Drains the child's standard output on a thread of its own so the child can
// never block on a full pipe while we sample it.
class OutputReader {
public:
    explicit OutputReader(common::unique_handle pipe)
        : pipe_(std::move(pipe)), thread_([this] { Read(); }) {}
    OutputReader(const OutputReader&) = delete;
    OutputReader& operator=(const OutputReader&) = delete;
    ~OutputReader() {
        if (thread_.joinable()) thread_.join();
    }
    std::string Take() {
        thread_.join();
        return std::move(text_);
    }

private:
    void Read() {
        char buffer[4096];
        DWORD n = 0;
        while (::ReadFile(pipe_.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) text_.append(buffer, n);
    }

    common::unique_handle pipe_;
    std::string text_;
    std::thread thread_;
};

}  // namespace

Stopwatch::Stopwatch() noexcept : start_(Now()) {}

double Stopwatch::Seconds() const noexcept {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now().QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

size_t PeakWorkingSet(HANDLE process) noexcept {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize;
}

ChildRun RunChild(const std::wstring& commandLine, const std::wstring& directory, double limitSeconds,
                  bool captureOutput) {
    common::unique_handle reader;
    common::unique_handle writer;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (captureOutput) {
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        if (!::CreatePipe(reader.put(), writer.put(), &inheritable, 0)) throw std::runtime_error("CreatePipe failed");
        ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = writer.get();
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = commandLine;

    ChildRun run;
    const Stopwatch clock;
    if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, captureOutput, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start " + common::WideToAnsi(commandLine));
    }
    common::unique_handle process(info.hProcess);
    common::unique_handle thread(info.hThread);
    std::optional<OutputReader> output;
    if (captureOutput) {
        writer.reset();  // the child now holds the only write end, so its exit ends the read
        output.emplace(std::move(reader));
    }

    for (;;) {
        run.peakWorkingSet = std::max(run.peakWorkingSet, PeakWorkingSet(process.get()));
        if (::WaitForSingleObject(process.get(), 5) == WAIT_OBJECT_0) {
            run.seconds = clock.Seconds();
            run.finished = true;
            break;
        }
        if (clock.Seconds() > limitSeconds) {
            ::TerminateProcess(process.get(), 1);
            ::WaitForSingleObject(process.get(), INFINITE);
            run.seconds = clock.Seconds();
            break;
        }
    }
    ::GetExitCodeProcess(process.get(), &run.exitCode);
    if (output) run.output = output->Take();
    return run;
}

}  // namespace bench

#include "tests/e2e/ProgramRun.h"

#include <stdexcept>

#include "common/text.h"

namespace e2e {

RunResult RunProgram(const std::wstring& exe, const std::vector<uidriver::Answer>& script) {
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
    uidriver::Process process(uidriver::Quote(exe), folder);
    uidriver::Driver driver(process);
    driver.Run(script, kRunBoundMs, kMainClass);
    if (!process.WaitForExit(kRunBoundMs)) {
        process.Kill();
        throw uidriver::DriverError("the program did not end; killed");
    }
    RunResult result;
    result.exitCode = process.ExitCode();
    for (const auto& w : driver.Seen())
        if (w.className != kMainClass) result.dialogs.push_back(w);
    result.seen = common::WideToAnsi(driver.DescribeSeen());
    return result;
}

DWORD RunSystemRegsvr32(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    uidriver::Process tool(uidriver::Quote(std::wstring(system) + L"\\regsvr32.exe") + L" /s " + arguments);
    if (!tool.WaitForExit(kRunBoundMs)) throw std::runtime_error("regsvr32 did not end");
    return tool.ExitCode();
}

}  // namespace e2e

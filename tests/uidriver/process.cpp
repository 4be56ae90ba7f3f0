#include "tests/uidriver/process.h"

#include <stdexcept>
#include <vector>

#include "common/text.h"

namespace uidriver {

Process::Process(const std::wstring& commandLine, const std::wstring& directory) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        throw std::runtime_error("cannot start " + common::WideToAnsi(commandLine) + ": error " +
                                 std::to_string(::GetLastError()));
    ::CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    id_ = pi.dwProcessId;
}

Process::~Process() {
    if (Running()) Kill();
}

bool Process::Running() const noexcept {
    return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs) const noexcept {
    return ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const noexcept {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void Process::Kill() noexcept {
    ::TerminateProcess(process_.get(), 255);
    ::WaitForSingleObject(process_.get(), 10000);
}

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring Quote(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace uidriver

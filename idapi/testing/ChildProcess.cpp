#include "idapi/testing/ChildProcess.h"

#include <stdexcept>

namespace idapi::testing {

namespace {

// A bound that only a hung child reaches; it turns the hang into a failure.
constexpr DWORD kHangTimeoutMs = 60000;

}  // namespace

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    // Started in its own folder, so that a DLL search through the current folder
    // finds nothing the test did not put there.
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        throw std::runtime_error("CreateProcessW failed, error " + std::to_string(::GetLastError()));
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
}

ChildProcess::~ChildProcess() {
    if (::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) Kill();
}

DWORD ChildProcess::Wait() {
    if (::WaitForSingleObject(process_.get(), kHangTimeoutMs) != WAIT_OBJECT_0) {
        throw std::runtime_error("child process did not end");
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void ChildProcess::Kill() {
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), kHangTimeoutMs);
}

}  // namespace idapi::testing

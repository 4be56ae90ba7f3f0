#include "tests/hardening/process.h"

#include <stdexcept>
#include <vector>

#include "common/text.h"

namespace hardening {

Process::Process(const std::wstring& path, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring line = L"\"" + path + L"\" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &info)) {
        throw std::runtime_error("cannot start " + common::WideToAnsi(path) + ", error " + std::to_string(::GetLastError()));
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
}

Process::~Process() {
    if (process_ && Running()) Kill();
}

bool Process::Running() const { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD Process::Wait(DWORD timeoutMs) const {
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

void Process::Kill() {
    ::TerminateProcess(process_.get(), 9);
    ::WaitForSingleObject(process_.get(), INFINITE);
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace hardening

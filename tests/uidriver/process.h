#pragma once
// A program under test, started with CreateProcess. The watchdog: every wait is
// bounded, and a process still running when its owner goes away is killed.
#include <windows.h>

#include <string>

#include "common/unique_any.h"

namespace uidriver {

class Process {
public:
    // Starts `commandLine` in `directory` (empty: the caller's). Throws std::runtime_error on failure.
    Process(const std::wstring& commandLine, const std::wstring& directory = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const noexcept { return id_; }
    HANDLE handle() const noexcept { return process_.get(); }
    bool Running() const noexcept;
    // True when the process ended within the bound.
    bool WaitForExit(DWORD timeoutMs) const noexcept;
    DWORD ExitCode() const noexcept;
    void Kill() noexcept;

private:
    common::unique_handle process_;
    DWORD id_ = 0;
};

// The program's own folder, with a trailing backslash.
std::wstring ModuleFolder();
std::wstring Quote(const std::wstring& text);

}  // namespace uidriver

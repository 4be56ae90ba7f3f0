#pragma once
// A child program started by a test; killed if the test lets go of it while it runs.
#include <windows.h>

#include <string>

#include "common/unique_any.h"

namespace hardening {

class Process {
public:
    // Starts the program at path with the given arguments (already quoted as needed)
    // in the given working folder.
    Process(const std::wstring& path, const std::wstring& arguments, const std::wstring& folder);
    ~Process();
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;

    HANDLE handle() const { return process_.get(); }
    bool Running() const;
    // Waits up to timeoutMs; returns the exit code, or STILL_ACTIVE when it has not ended.
    DWORD Wait(DWORD timeoutMs) const;
    // Ends the process at once, wherever it is, and waits until it is gone.
    void Kill();

private:
    common::unique_handle process_;
};

// The folder of the running executable, with a trailing backslash.
std::wstring ExecutableFolder();

}  // namespace hardening

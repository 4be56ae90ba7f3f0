#pragma once
// Test helper: a program started in its own folder, ended when dropped.
#include <windows.h>

#include <string>

#include "common/unique_any.h"

namespace idapi::testing {

class ChildProcess {
public:
    ChildProcess(const std::wstring& program, const std::wstring& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code; throws when the process has not ended within a minute.
    DWORD Wait();
    void Kill();

private:
    common::unique_handle process_;
};

}  // namespace idapi::testing

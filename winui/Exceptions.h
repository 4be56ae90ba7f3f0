#pragma once
// The application layer's error types. what() is in the ANSI code page, ready for a message box.
#include <windows.h>

#include <stdexcept>
#include <string>

namespace winui {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // Named in the last-resort error report, as the run-time names the error's class.
    virtual const char* ClassName() const noexcept { return "Exception"; }
};

// A failed OLE/COM call; the text is the system's description of the HRESULT.
class EOleSysError : public Exception {
public:
    explicit EOleSysError(HRESULT code);
    EOleSysError(const std::string& message, HRESULT code) : Exception(message), ErrorCode(code) {}
    const char* ClassName() const noexcept override { return "EOleSysError"; }
    const HRESULT ErrorCode;
};

// An exception the control itself raised through EXCEPINFO.
class EOleException : public EOleSysError {
public:
    using EOleSysError::EOleSysError;
    const char* ClassName() const noexcept override { return "EOleException"; }
};

// The system's text for an HRESULT or Win32 code, without the trailing line break.
std::string SysErrorMessage(DWORD code);

// The class name to report for any exception: ours by name, others generically.
const char* ExceptionClassName(const std::exception& error) noexcept;

}  // namespace winui

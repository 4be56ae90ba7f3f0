#include "winui/Exceptions.h"

#include <cstdio>

#include "common/unique_any.h"

namespace winui {

EOleSysError::EOleSysError(HRESULT code) : EOleSysError(SysErrorMessage(static_cast<DWORD>(code)), code) {}

namespace {

std::string SystemText(DWORD code) {
    char* buffer = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const common::unique_hlocal owner(buffer);
    std::string text(n != 0 ? buffer : "", n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

// Windows' own texts for the COM codes a hosted control meets; Wine's system message
// table carries only Win32 codes.
const char* ComText(DWORD code) {
    switch (static_cast<HRESULT>(code)) {
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case E_NOINTERFACE: return "No such interface supported";
    case DISP_E_MEMBERNOTFOUND: return "Member not found.";
    case DISP_E_TYPEMISMATCH: return "Type mismatch.";
    case DISP_E_BADPARAMCOUNT: return "Invalid number of parameters.";
    case DISP_E_EXCEPTION: return "Exception occurred.";
    default: return nullptr;
    }
}

}  // namespace

std::string SysErrorMessage(DWORD code) {
    std::string text = SystemText(code);
    if (text.empty() && HRESULT_FACILITY(code) == FACILITY_WIN32) text = SystemText(HRESULT_CODE(code));
    if (text.empty() && ComText(code) != nullptr) text = ComText(code);
    if (text.empty()) {
        char fallback[64];
        std::snprintf(fallback, sizeof fallback, "Unexpected error (0x%08lX)", static_cast<unsigned long>(code));
        text = fallback;
    }
    return text;
}

const char* ExceptionClassName(const std::exception& error) noexcept {
    if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->ClassName();
    return "Exception";
}

}  // namespace winui

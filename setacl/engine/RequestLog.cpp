#include "setacl/engine/RequestLog.h"

#include <windows.h>

#include "common/unique_any.h"

#include <cwchar>
#include <iterator>

namespace setacl {

namespace {

constexpr size_t kBatch = 64 * 1024;

void AppendUtf8(std::string& out, const std::wstring& text) {
    if (text.empty()) return;
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n));
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[at], n, nullptr, nullptr);
}

// Opens the log for appending; a device (a port, NUL) would take the lines without keeping them.
unsigned long OpenForAppend(const std::wstring& path, common::unique_hfile& file) {
    file.reset(::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return ERROR_BAD_FILE_TYPE;
    return ERROR_SUCCESS;
}

}  // namespace

unsigned long RequestLog::Open(const std::wstring& path) {
    Flush();
    common::unique_hfile file;
    const unsigned long error = OpenForAppend(path, file);
    if (error != ERROR_SUCCESS) return error;
    path_ = path;
    return ERROR_SUCCESS;
}

void RequestLog::Line(const std::wstring& text) {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    wchar_t stamp[32];
    std::swprintf(stamp, std::size(stamp), L"%04u-%02u-%02u %02u:%02u:%02u.%03u  ", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    const std::wstring line = stamp + text;
    if (sink_) sink_(line);
    if (path_.empty()) return;
    AppendUtf8(pending_, line);
    pending_ += "\r\n";
    if (pending_.size() >= kBatch) Flush();
}

void RequestLog::Flush() {
    if (path_.empty() || pending_.empty()) {
        pending_.clear();
        return;
    }
    common::unique_hfile file;
    if (OpenForAppend(path_, file) == ERROR_SUCCESS) {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(file.get(), &size) && size.QuadPart == 0) {
            pending_.insert(0, "\xEF\xBB\xBF");  // so editors read UTF-8
        }
        DWORD written = 0;
        ::WriteFile(file.get(), pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr);
    }
    pending_.clear();
}

}  // namespace setacl

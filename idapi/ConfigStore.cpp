#include "idapi/ConfigStore.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "common/scope_exit.h"
#include "common/unique_any.h"

namespace idapi {

namespace {

// A configuration file is a few kilobytes; anything far larger is not one.
constexpr LONGLONG kMaxFileSize = 16 * 1024 * 1024;
constexpr int kReplaceAttempts = 20;
constexpr DWORD kReplaceRetryMs = 50;

// Mutex names cannot hold backslashes, so the lock is named by a hash of the
// file's full path, upper-cased because the file system ignores case.
std::wstring LockName(const std::wstring& path) {
    std::wstring upper(path);
    if (!upper.empty()) {
        ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(path.size()),
                       upper.data(), static_cast<int>(upper.size()));
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : upper) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    std::wstring name = L"Local\\IDAPI32.config.";
    for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(hash >> shift) & 0xf];
    return name;
}

DbiResult ReadWholeFile(const std::wstring& path, std::string& text) {
    common::unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kErrFileMissing;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return kErrFileMissing;
    if (size.QuadPart > kMaxFileSize) return kErrFileMalformed;
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), text.data() + done, static_cast<DWORD>(text.size() - done), &read,
                        nullptr)) {
            return kErrFileMissing;
        }
        if (read == 0) break;
        done += read;
    }
    text.resize(done);
    return kOk;
}

bool WriteWholeFile(HANDLE file, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!::WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                         nullptr)) {
            return false;
        }
        done += written;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// Writes text to a new file beside path, then moves it over path: a reader or a
// crash sees either the old file or the new one, never a part of either.
DbiResult ReplaceWholeFile(const std::wstring& path, std::string_view text) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return kErrWriteFailed;
    const std::wstring folder = path.substr(0, slash + 1);
    wchar_t temp[MAX_PATH];
    if (::GetTempFileNameW(folder.c_str(), L"IDA", 0, temp) == 0) return kErrWriteFailed;
    common::scope_exit removeTemp([&] { ::DeleteFileW(temp); });

    {
        common::unique_hfile file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteWholeFile(file.get(), text)) return kErrWriteFailed;
    }
    // A reader outside the engine (a virus scanner, an editor) may hold the file
    // open for a moment, and the file system refuses to replace an open file.
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) break;
        const DWORD error = ::GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kReplaceAttempts) {
            return kErrWriteFailed;
        }
        ::Sleep(kReplaceRetryMs);
    }
    removeTemp.dismiss();
    return kOk;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

// The names GetTempFileNameW gives with our prefix: "IDA", 1 to 4 hex digits, ".tmp".
bool IsOurTempName(const wchar_t* name) {
    const std::wstring_view n(name);
    if (n.size() < 8 || n.size() > 11 || n.substr(0, 3) != L"IDA") return false;
    if (::CompareStringOrdinal(n.data() + n.size() - 4, 4, L".tmp", 4, TRUE) != CSTR_EQUAL) return false;
    for (const wchar_t c : n.substr(3, n.size() - 7)) {
        if (!IsHexDigit(c)) return false;
    }
    return true;
}

// A writer killed while it held the lock may have left its new file beside the
// settings file; nobody writes one without the lock, so under the lock each is stale.
// One still held open by a writer that is only now being torn down cannot be deleted
// yet and goes with a later write.
void RemoveStrayTempFiles(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return;
    const std::wstring folder = path.substr(0, slash + 1);
    WIN32_FIND_DATAW data;
    common::unique_hfind find(::FindFirstFileW((folder + L"IDA*.tmp").c_str(), &data));
    if (!find) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOurTempName(data.cFileName)) {
            ::DeleteFileW((folder + data.cFileName).c_str());
        }
    } while (::FindNextFileW(find.get(), &data));
}

// Holds the lock shared by every process that reads or writes the file.
class FileLock {
public:
    explicit FileLock(const std::wstring& path) : mutex_(::CreateMutexW(nullptr, FALSE, LockName(path).c_str())) {
        if (!mutex_) return;
        // An abandoned lock is ours all the same: its holder died before or
        // after its replacement, and either way the file is whole.
        const DWORD wait = ::WaitForSingleObject(mutex_.get(), INFINITE);
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~FileLock() {
        if (held_) ::ReleaseMutex(mutex_.get());
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }

private:
    common::unique_handle mutex_;
    bool held_ = false;
};

DbiResult LoadConfigUnlocked(const std::wstring& path, LoadedConfig& config) {
    if (const DbiResult result = ReadWholeFile(path, config.text); result != kOk) return result;
    std::optional<ConfigFile> parsed = ParseConfigFile(config.text);
    if (!parsed) return kErrFileMalformed;
    config.parsed = std::move(*parsed);
    return kOk;
}

}  // namespace

DbiResult LoadConfig(const std::wstring& path, LoadedConfig& config) {
    // Under the lock, so that no reader of ours holds the file open while a
    // writer replaces it, which the file system would refuse.
    const FileLock lock(path);
    if (!lock.held()) return kErrFileMissing;
    return LoadConfigUnlocked(path, config);
}

DbiResult StoreEntryValue(const std::wstring& path, std::string_view sectionPath, std::string_view name,
                          std::size_t occurrence, std::string_view value) {
    if (!IsStorableValue(value)) return kErrInvalidParam;
    const FileLock lock(path);
    if (!lock.held()) return kErrWriteFailed;
    RemoveStrayTempFiles(path);

    LoadedConfig current;
    if (const DbiResult result = LoadConfigUnlocked(path, current); result != kOk) return result;
    const ConfigSection* section = FindSection(current.parsed, sectionPath);
    if (section == nullptr) return kErrUnknownPath;
    const ConfigEntry* entry = FindEntry(*section, name, occurrence);
    if (entry == nullptr) return kErrEntryGone;
    return ReplaceWholeFile(path, ReplaceValue(current.text, *entry, value));
}

}  // namespace idapi

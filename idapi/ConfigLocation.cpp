#include "idapi/ConfigLocation.h"

#include <windows.h>

namespace idapi {

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

std::wstring EnvironmentPath() {
    const DWORD needed = ::GetEnvironmentVariableW(L"IDAPI_CONFIG", nullptr, 0);
    if (needed <= 1) return {};
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"IDAPI_CONFIG", value.data(), needed);
    if (length == 0 || length >= needed) return {};
    value.resize(length);
    return value;
}

std::wstring PathBesideThisModule(const wchar_t* fileName) {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&PathBesideThisModule), &self)) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    return path.substr(0, slash + 1) + fileName;
}

}  // namespace

std::wstring ConfigFilePath() {
    const std::wstring configured = EnvironmentPath();
    return FullPath(configured.empty() ? PathBesideThisModule(L"IDAPI32.INI") : configured);
}

}  // namespace idapi

// A recording stand-in for the registration tool, placed as "Regsvr32.exe" beside the
// program under test, where the program search finds it first. It appends its exact
// command line to "Regsvr32.log" beside itself, waits the number of seconds written in
// "Regsvr32.delay" beside itself (if any: a slow tool), then hands its arguments to the
// system's genuine regsvr32 and returns that tool's exit code.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/text.h"
#include "common/unique_any.h"

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, n);
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

// The arguments as given, after the program name (quoted or not).
std::wstring Arguments(const std::wstring& commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        at = commandLine.find(L'"', 1);
        at = at == std::wstring::npos ? commandLine.size() : at + 1;
    } else {
        at = commandLine.find(L' ');
        if (at == std::wstring::npos) at = commandLine.size();
    }
    while (at < commandLine.size() && commandLine[at] == L' ') ++at;
    return commandLine.substr(at);
}

DWORD RunGenuine(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring line = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 3;
    common::unique_handle process(pi.hProcess);
    common::unique_handle thread(pi.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 3;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

}  // namespace

int wmain() {
    const std::wstring folder = OwnFolder();
    const std::wstring commandLine = ::GetCommandLineW();
    {
        std::ofstream log{std::filesystem::path(folder + L"Regsvr32.log"), std::ios::app | std::ios::binary};
        log << common::WideToAnsi(commandLine) << "\r\n";
    }
    std::ifstream delay{std::filesystem::path(folder + L"Regsvr32.delay")};
    int seconds = 0;
    if (delay >> seconds && seconds > 0) ::Sleep(static_cast<DWORD>(seconds) * 1000);
    return static_cast<int>(RunGenuine(Arguments(commandLine)));
}

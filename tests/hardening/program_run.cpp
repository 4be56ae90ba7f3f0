#include "tests/hardening/program_run.h"

#include <aclapi.h>
#include <sddl.h>

#include <stdexcept>
#include <vector>

#include "common/text.h"
#include "common/unique_any.h"
#include "idapi/ConfigFile.h"
#include "tests/hardening/process.h"
#include "tests/support/TestFiles.h"

namespace hardening {

using testfiles::MakeFolder;
using testfiles::ReadText;
using testfiles::WithSlash;
using testfiles::WriteText;

namespace {

constexpr DWORD kRunBoundMs = 120000;

[[noreturn]] void Fail(const std::string& what, const std::wstring& path) {
    throw std::runtime_error(what + " " + common::WideToAnsi(path) + ": error " + std::to_string(::GetLastError()));
}

void Copy(const std::wstring& name, const std::wstring& folder, const std::wstring& as) {
    const std::wstring from = ExecutableFolder() + L"payload\\" + name;
    if (!::CopyFileW(from.c_str(), (WithSlash(folder) + as).c_str(), FALSE)) Fail("cannot copy", from);
}

struct WindowSearch {
    DWORD process;
    std::string captions;  // every window of the program, with the texts of its dialog boxes
    HWND dialog = nullptr;
    std::string dialogText;
};

std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return common::WideToAnsi(text);
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
    wchar_t className[32] = {};
    ::GetClassNameW(child, className, 32);
    if (std::wstring(className) == L"Static") reinterpret_cast<WindowSearch*>(param)->dialogText += WindowText(child);
    return TRUE;
}

// Notes the program's windows; a visible dialog box means the run waits for an answer.
BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process) return TRUE;
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    search->captions += "[" + WindowText(window) + "] ";
    if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window) && !search->dialog) {
        search->dialog = window;
        ::EnumChildWindows(window, CollectText, param);
        search->captions += "(" + search->dialogText + ") ";
    }
    return TRUE;
}

}  // namespace

void StageApplicationFolder(const std::wstring& folder) {
    MakeFolder(folder);
    for (const wchar_t* name : {L"Project1.exe", L"SetACL.ocx", L"IDAPI32.dll"}) Copy(name, folder, name);
    Copy(L"placeholder.exe", folder, L"Tarvo-Convoy.exe");
    WriteText(WithSlash(folder) + L"IDAPI32.INI",
               "[\\DRIVERS\\PARADOX\\INIT]\r\n"
               "VERSION=4.0\r\n"
               "NET DIR=C:\\\r\n"
               "LANGDRIVER=ascii\r\n");
}

void RegisterControl(const std::wstring& folder) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    Process tool(std::wstring(system) + L"\\regsvr32.exe", L"/s \"" + WithSlash(folder) + L"SetACL.ocx\"", folder);
    if (tool.Wait(kRunBoundMs) != 0) throw std::runtime_error("regsvr32 failed on " + common::WideToAnsi(folder));
}

RunOutcome RunProgram(const std::wstring& folder, bool answerMessageBoxes) {
    RunOutcome outcome;
    Process program(WithSlash(folder) + L"Project1.exe", L"", folder);
    const DWORD start = ::GetTickCount();
    while ((outcome.exitCode = program.Wait(50)) == STILL_ACTIVE) {
        WindowSearch search{::GetProcessId(program.handle()), {}, nullptr, {}};
        ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        const bool overdue = ::GetTickCount() - start > kRunBoundMs;
        if (overdue || (search.dialog && !answerMessageBoxes)) {
            outcome.windows = search.captions;
            break;
        }
        if (search.dialog) {
            outcome.messageBoxes.push_back(search.dialogText);
            ::PostMessageW(search.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            while (::IsWindow(search.dialog) && ::GetTickCount() - start <= kRunBoundMs) ::Sleep(20);
        }
    }
    return outcome;
}

std::string SecurityFingerprint(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "missing";
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                      DACL_SECURITY_INFORMATION;
    common::unique_hlocal descriptor;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr,
                                reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put())) != ERROR_SUCCESS) {
        return "unreadable";
    }
    common::unique_hlocal sddl;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.get(), SDDL_REVISION_1, what,
                                                                reinterpret_cast<LPWSTR*>(sddl.put()), nullptr)) {
        return "unconvertible";
    }
    return "attributes " + std::to_string(attributes) + " " +
           common::WideToAnsi(static_cast<const wchar_t*>(sddl.get()));
}

std::string ParadoxSetting(const std::wstring& folder, const std::string& name) {
    const std::string text = ReadText(WithSlash(folder) + L"IDAPI32.INI");
    const auto file = idapi::ParseConfigFile(text);
    if (!file) return "(unparsable)";
    const auto* section = idapi::FindSection(*file, "\\DRIVERS\\PARADOX\\INIT");
    const auto* entry = section ? idapi::FindEntry(*section, name, 0) : nullptr;
    return entry ? text.substr(entry->valueOffset, entry->valueLength) : "(none)";
}

}  // namespace hardening

// Runs a program and answers its windows by script, printing every window it sees
// and the exit code. For the sandbox run.
// Usage: uidriver.exe [--timeout SECONDS] [--passive CLASS] [--answer ok|cancel|close|folder:I.J...]... -- PROGRAM [ARGS...]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/text.h"
#include "tests/uidriver/driver.h"

namespace {

uidriver::Answer ParseAnswer(const std::wstring& text) {
    if (text == L"ok") return uidriver::Answer::Ok();
    if (text == L"cancel") return uidriver::Answer::Cancel();
    if (text == L"close") return uidriver::Answer::Close();
    if (text.rfind(L"folder:", 0) == 0) {
        std::vector<int> rows;
        for (size_t at = 7; at < text.size();) {
            size_t end = text.find(L'.', at);
            if (end == std::wstring::npos) end = text.size();
            rows.push_back(std::stoi(text.substr(at, end - at)));
            at = end + 1;
        }
        return uidriver::Answer::Folder(rows);
    }
    return uidriver::Answer::Press(text);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD timeoutMs = 60000;
    std::wstring passiveClass;
    std::vector<uidriver::Answer> script;
    int i = 1;
    try {
        for (; i < argc; ++i) {
            const std::wstring arg = argv[i];
            if (arg == L"--") break;
            if (i + 1 >= argc) throw std::invalid_argument("missing value");
            if (arg == L"--timeout") timeoutMs = static_cast<DWORD>(std::stoul(argv[++i]) * 1000);
            else if (arg == L"--passive") passiveClass = argv[++i];
            else if (arg == L"--answer") script.push_back(ParseAnswer(argv[++i]));
            else throw std::invalid_argument("unknown option");
        }
    } catch (const std::exception&) {
        std::fprintf(stderr, "usage: uidriver.exe [--timeout S] [--passive CLASS] [--answer A]... -- PROGRAM [ARGS...]\n");
        return 2;
    }
    if (++i >= argc) return 2;
    std::wstring commandLine;
    for (; i < argc; ++i) commandLine += (commandLine.empty() ? L"" : L" ") + uidriver::Quote(argv[i]);

    try {
        uidriver::Process process(commandLine);
        uidriver::Driver driver(process);
        driver.Run(script, timeoutMs, passiveClass);
        process.WaitForExit(timeoutMs);
        std::printf("%s", common::WideToAnsi(driver.DescribeSeen()).c_str());
        std::printf("exit code: %lu\n", process.ExitCode());
        return 0;
    } catch (const std::exception& e) {
        std::printf("uidriver: %s\n", e.what());
        return 1;
    }
}

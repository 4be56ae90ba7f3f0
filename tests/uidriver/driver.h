#pragma once
// Watches the top-level windows of a program under test and answers them by script.
// Every wait is bounded; a timeout throws DriverError after the process is killed.
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/uidriver/process.h"
#include "tests/uidriver/window_record.h"

namespace uidriver {

struct DriverError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Answer {
    enum class Kind { Ok, Cancel, Close, Button, Folder };
    Kind kind = Kind::Ok;
    std::wstring button;    // Button: the caption to press
    std::vector<int> rows;  // Folder: the child's index at each level below the browser's root

    static Answer Ok() { return {Kind::Ok, {}, {}}; }
    static Answer Cancel() { return {Kind::Cancel, {}, {}}; }
    static Answer Close() { return {Kind::Close, {}, {}}; }
    static Answer Press(std::wstring caption) { return {Kind::Button, std::move(caption), {}}; }
    static Answer Folder(std::vector<int> rows) { return {Kind::Folder, {}, std::move(rows)}; }
};

class Driver {
public:
    explicit Driver(Process& process) : process_(process) {}

    // The next visible top-level window of the process not returned before, or nothing
    // once the process has ended. Throws DriverError when neither happens in time.
    std::optional<WindowRecord> NextWindow(DWORD timeoutMs);
    void Respond(const WindowRecord& window, const Answer& answer);
    // Answers each new window with the next answer until the process ends. Windows of
    // class `passiveClass` (a main window shown for a moment) are recorded but not answered.
    // A window beyond the script, or a process still running at the bound, fails the run.
    void Run(const std::vector<Answer>& script, DWORD timeoutMs, const std::wstring& passiveClass = {});

    const std::vector<WindowRecord>& Seen() const noexcept { return seen_; }
    std::wstring DescribeSeen() const;

private:
    [[noreturn]] void Fail(const std::string& what);

    Process& process_;
    std::vector<HWND> known_;
    std::vector<WindowRecord> seen_;
};

// Presses a button of another process's window the way a click would report it.
void PressButton(HWND window, const std::wstring& caption);
void PressButtonId(HWND window, int id);
void PostClose(HWND window);
// Whether a folder browser's tree has a selected row (asked by handle value, never read).
bool FolderSelected(HWND browser);
// Selects a folder in a shell folder browser by keyboard, from its root, then presses OK.
void ChooseFolder(HWND browser, const std::vector<int>& rows);

}  // namespace uidriver

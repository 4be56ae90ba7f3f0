#include "tests/uidriver/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>

#include "common/text.h"

namespace uidriver {
namespace {

constexpr DWORD kPollMs = 30;
constexpr UINT kSendTimeoutMs = 5000;

struct Enumeration {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    auto* e = reinterpret_cast<Enumeration*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == e->pid && ::IsWindowVisible(hwnd)) e->windows.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD pid) {
    Enumeration e{pid, {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&e));
    return e.windows;
}

void SendKey(HWND hwnd, UINT vk) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(hwnd, WM_KEYDOWN, vk, 1, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    ::SendMessageTimeoutW(hwnd, WM_KEYUP, vk, 0xC0000001, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

HWND FindChildByClass(HWND parent, const wchar_t* cls) {
    return ::FindWindowExW(parent, nullptr, cls, nullptr);
}

}  // namespace

std::optional<WindowRecord> Driver::NextWindow(DWORD timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (HWND hwnd : VisibleTopLevelWindows(process_.id())) {
            if (std::find(known_.begin(), known_.end(), hwnd) != known_.end()) continue;
            known_.push_back(hwnd);
            seen_.push_back(RecordWindow(hwnd));
            return seen_.back();
        }
        if (!process_.Running()) return std::nullopt;
        if (std::chrono::steady_clock::now() > deadline)
            Fail("timed out after " + std::to_string(timeoutMs) + " ms: no new window and the program is still running");
        ::Sleep(kPollMs);
    }
}

void Driver::Respond(const WindowRecord& window, const Answer& answer) {
    switch (answer.kind) {
    case Answer::Kind::Ok: return PressButtonId(window.hwnd, IDOK);
    case Answer::Kind::Cancel: return PressButtonId(window.hwnd, IDCANCEL);
    case Answer::Kind::Close: return PostClose(window.hwnd);
    case Answer::Kind::Button: return PressButton(window.hwnd, answer.button);
    case Answer::Kind::Folder: return ChooseFolder(window.hwnd, answer.rows);
    }
}

void Driver::Run(const std::vector<Answer>& script, DWORD timeoutMs, const std::wstring& passiveClass) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t next = 0;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const auto window = NextWindow(static_cast<DWORD>(std::max<long long>(left.count(), 0)));
        if (!window) return;
        if (!passiveClass.empty() && window->className == passiveClass) continue;
        if (next == script.size()) Fail("a window beyond the script appeared");
        Respond(*window, script[next++]);
    }
}

std::wstring Driver::DescribeSeen() const {
    std::wstring out;
    for (const auto& w : seen_) out += Describe(w);
    return out.empty() ? L"(no window)\n" : out;
}

void Driver::Fail(const std::string& what) {
    process_.Kill();
    throw DriverError(what + "; the program was killed. Windows seen:\n" + common::WideToAnsi(DescribeSeen()));
}

void PressButtonId(HWND window, int id) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

void PressButton(HWND window, const std::wstring& caption) {
    for (HWND child = FindChildByClass(window, L"Button"); child;
         child = ::FindWindowExW(window, child, L"Button", nullptr)) {
        if (WindowText(child) != caption) continue;
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(child), BN_CLICKED),
                       reinterpret_cast<LPARAM>(child));
        return;
    }
    throw DriverError("no button \"" + common::WideToAnsi(caption) + "\" in the window \"" +
                      common::WideToAnsi(WindowText(window)) + "\"");
}

void PostClose(HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }

bool FolderSelected(HWND browser) {
    DWORD_PTR selected = 0;
    const HWND tree = FindChildByClass(browser, WC_TREEVIEWW);
    return tree && ::SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                         &selected) && selected != 0;
}

void ChooseFolder(HWND browser, const std::vector<int>& rows) {
    const HWND tree = FindChildByClass(browser, WC_TREEVIEWW);
    if (!tree) throw DriverError("the window \"" + common::WideToAnsi(WindowText(browser)) + "\" holds no folder tree");
    // The tree ignores keys while nothing is selected, and the browser preselects nothing:
    // a click on the root's label (first row, past the root's button and icon) selects it.
    DWORD_PTR itemHeight = 0, indent = 0;
    ::SendMessageTimeoutW(tree, TVM_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &itemHeight);
    ::SendMessageTimeoutW(tree, TVM_GETINDENT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &indent);
    const LPARAM at = MAKELPARAM(static_cast<int>(indent) + ::GetSystemMetrics(SM_CXSMICON) + 8,
                                 static_cast<int>(itemHeight) / 2);
    // Posted, not sent: the tree tracks the press in a loop that only a queued release ends.
    ::PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(tree, WM_LBUTTONUP, 0, at);
    for (UINT waited = 0; waited < kSendTimeoutMs && !FolderSelected(browser); waited += kPollMs) ::Sleep(kPollMs);
    // "+" expands the selection in place (Right would move into an already expanded
    // item), and Down then walks its children in order.
    SendKey(tree, VK_HOME);
    for (int row : rows) {
        SendKey(tree, VK_ADD);
        for (int i = 0; i <= row; ++i) SendKey(tree, VK_DOWN);
    }
    PressButtonId(browser, IDOK);
}

}  // namespace uidriver

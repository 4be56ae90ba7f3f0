#include "winui/testing/DialogWatcher.h"

#include <commctrl.h>

namespace winui::testing {

namespace {

constexpr int kPollMs = 20;
constexpr int kGiveUpMs = 30000;

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchOwnDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !::IsWindowVisible(window) || ClassOf(window) != L"#32770") return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindOwnDialog() {
    Search search = {::GetCurrentProcessId(), nullptr};
    ::EnumWindows(&MatchOwnDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The tree lives in this process, so its item text can be read in place.
std::wstring RootItemText(HWND tree) {
    wchar_t text[MAX_PATH] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (item.hItem == nullptr || !::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
}

}  // namespace

DialogWatcher::DialogWatcher(int answer) : thread_([this, answer] { Watch(answer); }) {}

DialogWatcher::~DialogWatcher() {
    if (thread_.joinable()) thread_.join();
}

const SeenDialog& DialogWatcher::Result() {
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void DialogWatcher::Watch(int answer) {
    HWND dialog = nullptr;
    for (int waited = 0; dialog == nullptr && waited < kGiveUpMs; waited += kPollMs) {
        dialog = FindOwnDialog();
        if (dialog == nullptr) ::Sleep(kPollMs);
    }
    if (dialog == nullptr) return;
    seen_.Found = true;
    seen_.Caption = TextOf(dialog);
    seen_.Owner = ::GetWindow(dialog, GW_OWNER);
    seen_.Style = ::GetWindowLongW(dialog, GWL_STYLE);
    if (HWND text = ::GetDlgItem(dialog, 0xFFFF)) seen_.Text = TextOf(text);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        const std::wstring kind = ClassOf(child);
        if (kind == L"Button") seen_.Buttons.push_back(TextOf(child));
        if (kind == WC_TREEVIEWW) seen_.TreeRoot = RootItemText(child);
        if (kind != L"Static") continue;
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen_.HasIcon = seen_.HasIcon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else {
            seen_.Statics.push_back(TextOf(child));
        }
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, answer)));
}

}  // namespace winui::testing

#include "tests/uidriver/window_record.h"

#include <sstream>

namespace uidriver {
namespace {

constexpr UINT kMessageTimeoutMs = 2000;

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* record = reinterpret_cast<WindowRecord*>(param);
    // Grandchildren (a tree's edit box, a toolbar's buttons) are not part of the dialog's face.
    if (::GetParent(child) != record->hwnd) return TRUE;
    ChildRecord c;
    c.className = ClassOf(child);
    c.text = WindowText(child);
    c.id = ::GetDlgCtrlID(child);
    c.style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
    c.visible = ::IsWindowVisible(child) != FALSE;
    ::GetWindowRect(child, &c.rect);
    ::MapWindowPoints(HWND_DESKTOP, record->hwnd, reinterpret_cast<POINT*>(&c.rect), 2);
    record->children.push_back(std::move(c));
    return TRUE;
}

bool IsStaticOfType(const ChildRecord& c, DWORD type) {
    return _wcsicmp(c.className.c_str(), L"Static") == 0 && (c.style & SS_TYPEMASK) == type;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return {};
    text.resize(copied);
    return text;
}

WindowRecord RecordWindow(HWND hwnd) {
    WindowRecord r;
    r.hwnd = hwnd;
    r.className = ClassOf(hwnd);
    r.caption = WindowText(hwnd);
    r.style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
    r.exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
    ::GetWindowRect(hwnd, &r.window);
    ::GetClientRect(hwnd, &r.client);
    ::EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&r));
    for (const auto& c : r.children) {
        if (!c.visible || !IsStaticOfType(c, SS_ICON)) continue;
        DWORD_PTR icon = 0;
        const HWND child = ::GetDlgItem(hwnd, c.id);
        if (child && ::SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon) &&
            icon != 0)
            r.hasIcon = true;
    }
    return r;
}

std::vector<std::wstring> WindowRecord::ButtonTexts() const {
    std::vector<std::wstring> out;
    for (const auto& c : children)
        if (c.visible && _wcsicmp(c.className.c_str(), L"Button") == 0) out.push_back(c.text);
    return out;
}

std::vector<std::wstring> WindowRecord::StaticTexts() const {
    std::vector<std::wstring> out;
    for (const auto& c : children)
        if (c.visible && _wcsicmp(c.className.c_str(), L"Static") == 0 && !IsStaticOfType(c, SS_ICON) &&
            !c.text.empty())
            out.push_back(c.text);
    return out;
}

const ChildRecord* WindowRecord::FindChild(const std::wstring& cls, const std::wstring& text) const {
    for (const auto& c : children)
        if (_wcsicmp(c.className.c_str(), cls.c_str()) == 0 && (text.empty() || c.text == text)) return &c;
    return nullptr;
}

std::wstring Describe(const WindowRecord& r) {
    std::wostringstream out;
    out << L"window class=\"" << r.className << L"\" caption=\"" << r.caption << L"\" style=0x" << std::hex
        << r.style << L" exstyle=0x" << r.exStyle << std::dec << L" rect=" << r.window.left << L','
        << r.window.top << L' ' << (r.window.right - r.window.left) << L'x' << (r.window.bottom - r.window.top)
        << L" client=" << r.client.right << L'x' << r.client.bottom << L" icon=" << (r.HasIcon() ? L"yes" : L"no")
        << L'\n';
    for (const auto& c : r.children)
        out << L"  child class=\"" << c.className << L"\" id=" << c.id << L" text=\"" << c.text << L"\" style=0x"
            << std::hex << c.style << std::dec << L" rect=" << c.rect.left << L',' << c.rect.top << L' '
            << (c.rect.right - c.rect.left) << L'x' << (c.rect.bottom - c.rect.top)
            << (c.visible ? L"" : L" hidden") << L'\n';
    return out.str();
}

}  // namespace uidriver

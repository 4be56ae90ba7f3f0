#pragma once
// A snapshot of one top-level window of another process, taken with messages the
// system marshals (WM_GETTEXT, STM_GETICON) and plain window queries: no pointers cross.
#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

struct ChildRecord {
    std::wstring className;
    std::wstring text;
    int id = 0;
    DWORD style = 0;
    bool visible = false;
    RECT rect{};  // in the parent's client coordinates
};

struct WindowRecord {
    HWND hwnd = nullptr;
    std::wstring className;
    std::wstring caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT window{};  // screen coordinates
    RECT client{};  // client coordinates: left and top are 0
    std::vector<ChildRecord> children;
    // A visible SS_ICON static holding an icon, as a message box shows for MB_ICON*.
    bool hasIcon = false;

    std::vector<std::wstring> ButtonTexts() const;
    // Texts of the visible static controls that show text (the message of a message box).
    std::vector<std::wstring> StaticTexts() const;
    bool HasIcon() const { return hasIcon; }
    const ChildRecord* FindChild(const std::wstring& className, const std::wstring& text = {}) const;
    bool IsDialog() const { return className == L"#32770"; }
};

std::wstring WindowText(HWND hwnd);
WindowRecord RecordWindow(HWND hwnd);
// One line per window and child, for failure messages and the sandbox log.
std::wstring Describe(const WindowRecord& record);

}  // namespace uidriver

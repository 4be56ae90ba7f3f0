#pragma once
// The child window the control shows while it is in-place active: a small framed box.
#include <windows.h>

#include "common/unique_any.h"

namespace setacl {

class ControlWindow {
public:
    ControlWindow() = default;
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    [[nodiscard]] HRESULT Create(HWND parent, const RECT& position) noexcept;
    void Destroy() noexcept { hwnd_.reset(); }
    HWND Handle() const noexcept { return hwnd_.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

    common::unique_hwnd hwnd_;
};

// Paints the control's face; also used for drawing into a container's device context.
void PaintControlBox(HDC dc, const RECT& bounds) noexcept;

// The class lives as long as the DLL; the DLL removes it when it is unloaded.
void UnregisterControlWindowClass() noexcept;

}  // namespace setacl

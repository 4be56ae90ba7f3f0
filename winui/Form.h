#pragma once
// A dialog-style form: fixed border, close box only, centred when shown.
#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_any.h"
#include "winui/Controls.h"

namespace winui {

struct TFormLayout {
    const wchar_t* ClassName;  // window class, as the form's class is named
    const wchar_t* Caption;
    int ClientWidth;
    int ClientHeight;
    const wchar_t* FontName;
    int FontHeight;
};

class TForm : public TObject {
public:
    explicit TForm(const TFormLayout& layout);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Creates the window and its controls (hidden), then runs OnCreate. An error while
    // building the window propagates; one escaping OnCreate is shown and creation completes.
    void Load();
    void Show();
    HWND Handle() const noexcept { return handle_; }
    HFONT Font() const noexcept { return static_cast<HFONT>(font_.get()); }

    TNotifyEvent OnCreate;

    // Window procedure plumbing (WindowClass.h).
    void AttachHandle(HWND hwnd) noexcept { handle_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

private:
    friend class TControl;
    void AddControl(TControl& control);
    void RemoveControl(TControl& control) noexcept;

    TFormLayout layout_;
    common::unique_gdiobj font_;
    std::vector<TControl*> controls_;
    HWND handle_ = nullptr;
};

}  // namespace winui

#pragma once
// The base of everything placed on a form, and the push button.
#include <windows.h>

#include <functional>
#include <string>

namespace winui {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Position and size in the form's client area, in design pixels.
struct TBounds {
    int Left;
    int Top;
    int Width;
    int Height;
};

class TForm;

// A child of a form. It registers with its form on construction; the form creates
// the window handles of all its controls, in declaration order, when it loads.
class TControl : public TObject {
public:
    TControl(TForm& owner, TBounds bounds);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    TForm& Owner() const noexcept { return owner_; }
    const TBounds& Bounds() const noexcept { return bounds_; }

protected:
    friend class TForm;
    virtual void CreateHandle(HWND parent) = 0;
    // WM_COMMAND notifications that the form routes to the control with this ID.
    virtual void Command(WORD /*notification*/) {}
    virtual int ControlId() const noexcept { return 0; }

private:
    TForm& owner_;
    TBounds bounds_;
};

class TButton : public TControl {
public:
    // Controls take the tab order of their declaration, the first being 0.
    TButton(TForm& owner, TBounds bounds, int controlId, std::wstring caption);

    HWND Handle() const noexcept { return handle_; }
    TNotifyEvent OnClick;

protected:
    void CreateHandle(HWND parent) override;
    void Command(WORD notification) override;
    int ControlId() const noexcept override { return controlId_; }

private:
    int controlId_;
    std::wstring caption_;
    HWND handle_ = nullptr;  // owned by the form's window, destroyed with it
};

}  // namespace winui

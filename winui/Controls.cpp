#include "winui/Controls.h"

#include "winui/Exceptions.h"
#include "winui/Form.h"

namespace winui {

TControl::TControl(TForm& owner, TBounds bounds) : owner_(owner), bounds_(bounds) { owner_.AddControl(*this); }

TControl::~TControl() { owner_.RemoveControl(*this); }

TButton::TButton(TForm& owner, TBounds bounds, int controlId, std::wstring caption)
    : TControl(owner, bounds), controlId_(controlId), caption_(std::move(caption)) {}

void TButton::CreateHandle(HWND parent) {
    const TBounds& b = Bounds();
    handle_ = ::CreateWindowExW(0, L"BUTTON", caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                b.Left, b.Top, b.Width, b.Height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_)), ::GetModuleHandleW(nullptr),
                                nullptr);
    if (handle_ == nullptr) throw Exception(SysErrorMessage(::GetLastError()));
    ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Owner().Font()), FALSE);
}

void TButton::Command(WORD notification) {
    if (notification == BN_CLICKED && OnClick) OnClick(this);
}

}  // namespace winui

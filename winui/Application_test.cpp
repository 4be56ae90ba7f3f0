#include "winui/Application.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace winui {
namespace {

TEST(Application, TitleIsCarriedByItsOwnHiddenWindow) {
    const HWND window = Application->Handle();
    ASSERT_NE(window, nullptr);
    wchar_t text[64];
    ::GetClassNameW(window, text, 64);
    EXPECT_STREQ(text, L"TApplication");
    ::GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"WinuiTests");
    EXPECT_FALSE(::IsWindowVisible(window));
}

constexpr int kButtonId = 7;

class TMainForm : public TForm {
public:
    TMainForm()
        : TForm({L"TMainForm", L"main", 307, 58, L"MS Sans Serif", -11}),
          Button(*this, {80, 16, 145, 25}, kButtonId, L"Go") {
        OnCreate = [this](TObject*) {
            // Queued before the terminate requests, so handled before the loop ends.
            ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                           reinterpret_cast<LPARAM>(Button.Handle()));
            Application->Terminate();
            Application->Terminate();
            ++terminateRequests;
        };
        Button.OnClick = [this](TObject*) { ++clicks; };
    }
    TButton Button;
    int terminateRequests = 0;
    int clicks = 0;
};

TEST(Application, RunShowsTheMainFormAndEndsAtTheTerminateRequestAfterQueuedMessages) {
    TMainForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_EQ(form->terminateRequests, 1);
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));

    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->clicks, 1);
    ::ShowWindow(form->Handle(), SW_HIDE);
}

}  // namespace
}  // namespace winui

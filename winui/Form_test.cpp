#include "winui/Form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "winui/Application.h"
#include "winui/Exceptions.h"
#include "winui/testing/DialogWatcher.h"

namespace winui {
namespace {

const TFormLayout kLayout = {L"TTestForm", L"Admin Set Permission Tools", 307, 58, L"MS Sans Serif", -11};
constexpr int kButtonId = 102;

class TTestForm : public TForm {
public:
    TTestForm() : TForm(kLayout), Button(*this, {80, 16, 145, 25}, kButtonId, L"Set Program Permission") {}
    TButton Button;
};

void Click(const TTestForm& form) {
    ::SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(form.Button.Handle()));
}

TEST(Form, LaysOutADialogStyleWindowWithItsButton) {
    TTestForm form;
    int created = 0;
    form.OnCreate = [&](TObject* sender) {
        EXPECT_EQ(sender, &form);
        EXPECT_NE(form.Button.Handle(), nullptr) << "controls exist before OnCreate runs";
        EXPECT_FALSE(::IsWindowVisible(form.Handle()));
        ++created;
    };
    form.Load();
    EXPECT_EQ(created, 1);

    const HWND window = form.Handle();
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 307);
    EXPECT_EQ(client.bottom, 58);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), Application->Handle());
    wchar_t text[64];
    ::GetClassNameW(window, text, 64);
    EXPECT_STREQ(text, L"TTestForm");
    ::GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Admin Set Permission Tools");
    EXPECT_EQ(::GetClassLongPtrW(window, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));

    const HWND button = ::GetDlgItem(window, kButtonId);
    ASSERT_EQ(button, form.Button.Handle());
    RECT r;
    ::GetWindowRect(button, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 16);
    EXPECT_EQ(r.right - r.left, 145);
    EXPECT_EQ(r.bottom - r.top, 25);
    ::GetWindowTextW(button, text, 64);
    EXPECT_STREQ(text, L"Set Program Permission");
    LOGFONTW font = {};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);

    form.Show();
    EXPECT_TRUE(::IsWindowVisible(window));
    RECT frame;
    ::GetWindowRect(window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST(Form, AnErrorEscapingOnCreateIsShownAndCreationCompletes) {
    TTestForm form;
    form.OnCreate = [](TObject*) { throw Exception("Cannot create file \"D:\\KEY-BASE\"."); };
    testing::DialogWatcher watcher;
    form.Load();
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Caption, L"WinuiTests");
    EXPECT_EQ(seen.Text, L"Cannot create file \"D:\\KEY-BASE\".");
    EXPECT_TRUE(seen.HasIcon);
    EXPECT_TRUE(::IsWindow(form.Handle()));
    EXPECT_NE(form.Button.Handle(), nullptr);
}

TEST(Form, ButtonClicksRunTheHandlerAndItsErrorsAreShown) {
    TTestForm form;
    form.Load();
    std::vector<TObject*> senders;
    form.Button.OnClick = [&](TObject* sender) { senders.push_back(sender); };
    Click(form);
    EXPECT_EQ(senders, std::vector<TObject*>{&form.Button});

    form.Button.OnClick = [](TObject*) { throw Exception("again"); };
    testing::DialogWatcher watcher;
    Click(form);
    const auto& seen = watcher.Result();
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(seen.Text, L"again");
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

}  // namespace
}  // namespace winui

#include "winui/OleControl.h"

#include <gtest/gtest.h>

#include "winui/Exceptions.h"
#include "winui/Form.h"

namespace winui {
namespace {

// A class nobody registers.
const CLSID kUnregistered = {0x5d0a1c3e, 0x2b7f, 0x4c11, {0x9a, 0x10, 0x3e, 0x55, 0x0f, 0x6b, 0x21, 0x7d}};

class TProbeControl : public TOleControl {
public:
    using TOleControl::TOleControl;
    using TOleControl::InvokeMethod;
};

class TProbeForm : public TForm {
public:
    TProbeForm()
        : TForm({L"TProbeForm", L"probe", 100, 50, L"MS Sans Serif", -11}),
          Control(*this, {8, 8, 32, 32}, kUnregistered, IID_IDispatch, {0, 0, 1, 0}) {}
    TProbeControl Control;
};

TEST(OleControl, AnUnregisteredClassFailsTheFormWithTheSystemsText) {
    TProbeForm form;
    bool created = false;
    form.OnCreate = [&](TObject*) { created = true; };
    try {
        form.Load();
        FAIL() << "the form loaded without its control";
    } catch (const EOleSysError& error) {
        EXPECT_EQ(error.ErrorCode, REGDB_E_CLASSNOTREG);
        EXPECT_STREQ(error.what(), "Class not registered");
    }
    EXPECT_FALSE(created);
    // A control that never came up cannot be called; the call raises instead.
    EXPECT_THROW(form.Control.InvokeMethod(1), EOleSysError);
}

}  // namespace
}  // namespace winui

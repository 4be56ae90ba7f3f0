// The wrapper against the real control: created by class, loaded with the saved
// state, called through its dispatch interface.
#include "permissions/SETACLLib_TLB.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/unique_any.h"
#include "winui/Exceptions.h"
#include "winui/FileUtils.h"
#include "winui/Form.h"
#include "winui/testing/ScratchFolder.h"

namespace {

const BYTE kSavedState[] = {0x00, 0x00, 0x01, 0x00, 0x9E, 0x03, 0x00, 0x00,
                            0x9E, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

class TProbeACL : public TSetACL {
public:
    using TSetACL::TSetACL;
    using TSetACL::InvokeMethod;
};

class THostForm : public winui::TForm {
public:
    THostForm()
        : TForm({L"THostForm", L"host", 307, 58, L"MS Sans Serif", -11}),
          SetACL1(*this, {8, 8, 32, 32}, std::vector<BYTE>(std::begin(kSavedState), std::end(kSavedState))) {}
    TProbeACL SetACL1;
};

// Registers the control built beside these tests with the platform's own tool.
void RegisterControl() {
    const std::string ocx =
        winui::ExtractFilePath(winui::ExeFileName()) + "..\\setacl\\SetACL.ocx";
    ASSERT_TRUE(winui::FileExists(ocx)) << ocx;
    std::string command = "regsvr32.exe /s \"" + ocx + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &info));
    const common::unique_handle process(info.hProcess);
    const common::unique_handle thread(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.get(), &exitCode);
    ASSERT_EQ(exitCode, 0u);
}

class SetACLControl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterControl(); }
    void SetUp() override { ASSERT_NO_THROW(form.Load()); }
    THostForm form;
};

TEST_F(SetACLControl, MethodsReturnCodesAndEveryCodeHasAText) {
    const AclResult action = form.SetACL1.ChooseAction(1);
    const AclResult apply = form.SetACL1.ApplyRequest();
    for (const int code : {0, 1, action, apply, -7}) {
        EXPECT_FALSE(form.SetACL1.ErrorText(code).empty()) << code;
    }
}

TEST_F(SetACLControl, TheGrantSequenceSucceedsAndIsLogged) {
    winui::testing::ScratchFolder scratch;
    const std::wstring folder = std::wstring(scratch.Path().begin(), scratch.Path().end());
    const std::wstring log = folder + L"SetACLLog.txt";
    TSetACL& acl = form.SetACL1;
    ASSERT_EQ(acl.ChooseLogFile(log), 0);
    EXPECT_EQ(acl.ChooseTarget(folder, 1), 0);
    EXPECT_EQ(acl.ChooseAction(1), 0);
    EXPECT_EQ(acl.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1), 0);
    EXPECT_EQ(acl.ApplyRequest(), 0);
    EXPECT_EQ(::GetFileAttributesW(log.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // A key folder built from a network path names no drive: the sequence reports it.
    AclResult failed = acl.ChooseTarget(L"\\:\\KEY-BASE", 1);
    if (failed == 0) failed = acl.ChooseAction(1);
    if (failed == 0) failed = acl.AddAccessEntry(L"Everyone", false, L"Full", 3, true, 2, 1);
    if (failed == 0) failed = acl.ApplyRequest();
    EXPECT_NE(failed, 0);
    EXPECT_FALSE(acl.ErrorText(failed).empty());
}

TEST_F(SetACLControl, AFailedDispatchRaisesInTheCaller) {
    const struct {
        DISPID member;
        HRESULT expected;
    } cases[] = {
        {99, DISP_E_MEMBERNOTFOUND},
        {14, DISP_E_BADPARAMCOUNT},  // ChooseAction without its action
    };
    for (const auto& c : cases) {
        try {
            form.SetACL1.InvokeMethod(c.member);
            ADD_FAILURE() << "dispatch ID " << c.member << " returned";
        } catch (const winui::EOleSysError& error) {
            EXPECT_EQ(error.ErrorCode, c.expected) << c.member;
            EXPECT_STRNE(error.what(), "") << c.member;
        }
    }
}

}  // namespace

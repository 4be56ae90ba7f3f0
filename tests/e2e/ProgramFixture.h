#pragma once
// A fresh application folder on D: per test, with the program, the control and the
// engine with its settings file, and the shared places reset: no key folder, the
// temporary folder without Everyone's write access, an empty prompt root.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/ProgramRun.h"
#include "tests/e2e/Sandbox.h"

namespace e2e {

inline constexpr wchar_t kKeyFolder[] = L"D:\\KEY-BASE";
inline constexpr wchar_t kLogName[] = L"SetACLLog.txt";

class ProgramTest : public ::testing::Test {
public:
    // Project1.exe, the engine and its settings, and (unless told) SetACL.ocx in `folder`.
    static void Install(const std::wstring& folder, bool withControl = true);
    static void AddSibling(const std::wstring& folder, const std::wstring& name = L"Tarvo-Convoy.exe");
    static std::wstring Exe(const std::wstring& folder) { return WithSlash(folder) + L"Project1.exe"; }
    // A value of the engine's Paradox settings file in `folder`; "(none)" when absent.
    static std::string Setting(const std::wstring& folder, const std::string& name);
    // The folder prompt's root, emptied: the desktop's "ROOT".
    static std::wstring PromptRoot();

    // The targets the control's log shows granted, in order: each ChooseTarget whose
    // sequence ends in a successful ApplyRequest. Paths as the program passed them.
    static std::vector<std::string> GrantedInLog(const std::wstring& appFolder);
    // The three folders granted, and the control's log showing them granted in this order.
    static void ExpectGrantedInOrder(const std::wstring& keyFolder, const std::wstring& appFolder);
    static void ExpectNoneGranted(const std::wstring& appFolder);

protected:
    void SetUp() override;
    // A fresh application folder and a temporary folder without Everyone's write access.
    void PrepareAppFolder();

    std::wstring appDir_;  // D:\Apps\<test name>\ with a trailing backslash
};

}  // namespace e2e

// A grant carried out through the control's dispatch interface on a real folder
// tree of the sandbox drive, the way the program asks for it.
#include <windows.h>
#include <aclapi.h>
#include <ocidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "common/unique_any.h"
#include "setacl/Guids.h"
#include "setacl/tests/EventSink.h"
#include "setacl/tests/TestSupport.h"

namespace setacl::test {
namespace {

using Microsoft::WRL::ComPtr;

// Everything Everyone is allowed on the object, as the platform reports it.
ACCESS_MASK EveryoneAllowed(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                              nullptr, &dacl, nullptr, &descriptor);
    EXPECT_EQ(ERROR_SUCCESS, error) << "GetNamedSecurityInfo";
    common::unique_hlocal owner(descriptor);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(everyone);
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    ACCESS_MASK allowed = 0;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace)) continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        const auto* allow = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        if (EqualSid(const_cast<DWORD*>(&allow->SidStart), everyone)) allowed |= allow->Mask;
    }
    return allowed;
}

// A folder of this run on the sandbox drive, so that a rerun starts from the same state.
std::wstring FreshFolder(const wchar_t* name) {
    const std::wstring path = L"D:\\setacl-" + std::wstring(name) + L"-" + std::to_wstring(GetCurrentProcessId());
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << "create " << GetLastError();
    return path;
}

void WriteFileText(const std::wstring& path, const char* text) {
    common::unique_hfile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "create " << GetLastError();
    DWORD written = 0;
    WriteFile(file.get(), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

std::wstring ReadUtf8File(const std::wstring& path) {
    common::unique_hfile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file) << "open " << GetLastError();
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                    static_cast<int>(text.size())));
    return text;
}

// Runs the program's four calls for one folder; every code must be 0.
void GrantEveryone(IDispatch* control, const std::wstring& folder) {
    const int target = CallForCode(control, 2, {folder.c_str(), 1});
    ASSERT_EQ(0, target) << ErrorText(control, target).c_str();
    const int action = CallForCode(control, 14, {1});
    ASSERT_EQ(0, action) << ErrorText(control, action).c_str();
    const int entry = CallForCode(control, 8, {L"Everyone", false, L"Full", 3, true, 2, 1});
    ASSERT_EQ(0, entry) << ErrorText(control, entry).c_str();
    const int applied = CallForCode(control, 16, {});
    ASSERT_EQ(0, applied) << ErrorText(control, applied).c_str();
}

constexpr ACCESS_MASK kFullAsBitsShowIt = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE;

TEST(Grant, EveryoneGetsFullAccessOnTheTreeThroughDispatch) {
    const std::wstring root = FreshFolder(L"grant");
    const std::vector<std::wstring> objects = {root, root + L"\\file.txt", root + L"\\sub",
                                               root + L"\\sub\\file.txt"};
    CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    WriteFileText(root + L"\\file.txt", "top");
    WriteFileText(root + L"\\sub\\file.txt", "below");
    // The test means something only if Everyone could not write before.
    ASSERT_NE(kFullAsBitsShowIt, EveryoneAllowed(root) & kFullAsBitsShowIt);

    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    const std::wstring log = root + L".log";
    ASSERT_EQ(0, CallForCode(control.Get(), 15, {log.c_str()}));
    GrantEveryone(control.Get(), root);
    for (const std::wstring& object : objects) {
        EXPECT_EQ(kFullAsBitsShowIt, EveryoneAllowed(object) & kFullAsBitsShowIt)
            << std::string(object.begin(), object.end());
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(log.c_str()));
}

TEST(Grant, LogLinesArriveAsOnMessageEvent) {
    const std::wstring root = FreshFolder(L"events");
    ComPtr<IDispatch> control = CreateControl();
    ASSERT_TRUE(control);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, control.As(&container));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DSetACLEvents, &point));
    EventSink sink(true);
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));

    const std::wstring logPath = root + L".log";
    ASSERT_EQ(0, CallForCode(control.Get(), 15, {logPath.c_str()}));
    GrantEveryone(control.Get(), root);
    ASSERT_FALSE(sink.events.empty());
    // Each event is a line of the log, as the log file holds it.
    const std::wstring log = ReadUtf8File(logPath);
    for (const Event& event : sink.events) {
        EXPECT_EQ(1, event.id);
        EXPECT_EQ(1u, event.argCount);
        EXPECT_EQ(VT_BSTR, event.type);
        EXPECT_FALSE(event.text.empty());
        EXPECT_NE(std::wstring::npos, log.find(event.text)) << std::string(event.text.begin(), event.text.end());
    }

    // A frozen container gets no events; nor does a sink that has left.
    ComPtr<IOleControl> oleControl;
    ASSERT_EQ(S_OK, control.As(&oleControl));
    const size_t before = sink.events.size();
    ASSERT_EQ(S_OK, oleControl->FreezeEvents(TRUE));
    GrantEveryone(control.Get(), root);
    EXPECT_EQ(before, sink.events.size());
    ASSERT_EQ(S_OK, oleControl->FreezeEvents(FALSE));
    ASSERT_EQ(S_OK, point->Unadvise(cookie));
    GrantEveryone(control.Get(), root);
    EXPECT_EQ(before, sink.events.size());
    EXPECT_EQ(1u, sink.refs);
}

}  // namespace
}  // namespace setacl::test

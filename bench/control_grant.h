#pragma once
// The ACL control's grant, driven through its dispatch interface by dispatch ID
// exactly as the program drives it.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Positional automation arguments, kept in the reversed order Invoke expects.
class DispatchArguments {
public:
    DispatchArguments() = default;
    ~DispatchArguments();
    DispatchArguments(const DispatchArguments&) = delete;
    DispatchArguments& operator=(const DispatchArguments&) = delete;

    DispatchArguments& String(const std::wstring& value);
    DispatchArguments& Bool(bool value);
    DispatchArguments& Int(int32_t value);
    DISPPARAMS Params();

private:
    VARIANT& Next();
    std::vector<VARIANT> reversed_;
};

// The registered control, created in this single-threaded apartment thread.
class AclControl {
public:
    AclControl();

    // ChooseLogFile(logFile); throws with the control's text when it fails.
    void ChooseLogFile(const std::wstring& logFile);
    // ChooseTarget, ChooseAction, AddAccessEntry and ApplyRequest for one folder, with
    // the program's values; throws with the control's text for the first failure.
    void GrantEveryoneFull(const std::wstring& folder);

private:
    void Check(const char* method, DISPID id, DispatchArguments& arguments);
    VARIANT Call(const char* method, DISPID id, DispatchArguments& arguments);

    Microsoft::WRL::ComPtr<IDispatch> dispatch_;
};

}  // namespace bench

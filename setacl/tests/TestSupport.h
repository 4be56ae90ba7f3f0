#pragma once
// Shared helpers of the control's tests: the real regsvr32, the registry, and
// calls through IDispatch the way an automation client makes them.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace setacl::test {

// SetACL.ocx beside the test executable.
std::wstring OcxPath();

// Runs regsvr32 with the given switches on OcxPath() and returns its exit code.
DWORD RunRegsvr32(const std::wstring& switches);

bool ClassesKeyExists(const std::wstring& key);
std::wstring ClassesValue(const std::wstring& key, const wchar_t* name);
std::wstring GuidText(REFGUID guid);

Microsoft::WRL::ComPtr<IDispatch> CreateControl();

// An automation argument that owns what it holds.
class Arg {
public:
    Arg(const wchar_t* text);
    Arg(int value);
    Arg(bool value);
    explicit Arg(const VARIANT& value);  // copied
    Arg(const Arg& other);
    Arg& operator=(const Arg&) = delete;
    ~Arg();
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

struct CallResult {
    HRESULT hr = E_FAIL;
    VARIANT value;
    UINT argErr = UINT(-1);
    CallResult() { VariantInit(&value); }
    CallResult(const CallResult&) = delete;
    CallResult& operator=(const CallResult&) = delete;
    ~CallResult() { VariantClear(&value); }
};

// Invokes a method by dispatch ID with positional arguments, given in call order.
void Call(IDispatch* control, DISPID id, const std::vector<Arg>& args, CallResult& result,
          WORD flags = DISPATCH_METHOD);
// Calls a method expected to answer an AclResult.
int CallForCode(IDispatch* control, DISPID id, const std::vector<Arg>& args);
std::wstring ErrorText(IDispatch* control, int code);

}  // namespace setacl::test

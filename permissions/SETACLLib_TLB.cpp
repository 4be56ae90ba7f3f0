#include "permissions/SETACLLib_TLB.h"

#include "winui/Exceptions.h"

// {17738736-8831-4197-ACA5-A740A050B4CF}
const CLSID CLSID_SetACL = {0x17738736, 0x8831, 0x4197, {0xAC, 0xA5, 0xA7, 0x40, 0xA0, 0x50, 0xB4, 0xCF}};
// {85869435-0EE3-440B-BF69-6C52C6638073}
const IID DIID__DSetACL = {0x85869435, 0x0EE3, 0x440B, {0xBF, 0x69, 0x6C, 0x52, 0xC6, 0x63, 0x80, 0x73}};

namespace {

enum : DISPID {
    kChooseTarget = 2,
    kAddAccessEntry = 8,
    kChooseAction = 14,
    kChooseLogFile = 15,
    kApplyRequest = 16,
    kErrorText = 17,
};

// Results are used as the control returns them; a result of another type is a broken call.
AclResult ResultOf(const winui::OleVariant& result) {
    if (result.get().vt != VT_I4) throw winui::EOleSysError(DISP_E_TYPEMISMATCH);
    return result.get().lVal;
}

}  // namespace

TSetACL::TSetACL(winui::TForm& owner, winui::TBounds bounds, std::vector<BYTE> savedState)
    : TOleControl(owner, bounds, CLSID_SetACL, DIID__DSetACL, std::move(savedState)) {}

AclResult TSetACL::ChooseTarget(const std::wstring& path, int objectKind) {
    winui::OleVariant args[] = {winui::OleVariant(path), winui::OleVariant(int32_t{objectKind})};
    return ResultOf(InvokeMethod(kChooseTarget, args));
}

AclResult TSetACL::AddAccessEntry(const std::wstring& trustee, bool trusteeIsSid, const std::wstring& permission,
                                  int inheritance, bool toExisting, int mode, int list) {
    winui::OleVariant args[] = {winui::OleVariant(trustee),          winui::OleVariant(trusteeIsSid),
                                winui::OleVariant(permission),       winui::OleVariant(int32_t{inheritance}),
                                winui::OleVariant(toExisting),       winui::OleVariant(int32_t{mode}),
                                winui::OleVariant(int32_t{list})};
    return ResultOf(InvokeMethod(kAddAccessEntry, args));
}

AclResult TSetACL::ChooseAction(int action) {
    winui::OleVariant args[] = {winui::OleVariant(int32_t{action})};
    return ResultOf(InvokeMethod(kChooseAction, args));
}

AclResult TSetACL::ChooseLogFile(const std::wstring& path) {
    winui::OleVariant args[] = {winui::OleVariant(path)};
    return ResultOf(InvokeMethod(kChooseLogFile, args));
}

AclResult TSetACL::ApplyRequest() { return ResultOf(InvokeMethod(kApplyRequest)); }

std::wstring TSetACL::ErrorText(int code) {
    winui::OleVariant args[] = {winui::OleVariant(int32_t{code})};
    const winui::OleVariant text = InvokeMethod(kErrorText, args);
    if (text.get().vt != VT_BSTR) throw winui::EOleSysError(DISP_E_TYPEMISMATCH);
    return std::wstring(text.get().bstrVal, ::SysStringLen(text.get().bstrVal));
}

#pragma once
// The ACL control "SetACL.ocx" as a component of a form: typed calls on its dispatch interface.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "winui/OleControl.h"

// Result of every method of the control: 0 for success, else a code only ErrorText explains.
using AclResult = int32_t;

extern const CLSID CLSID_SetACL;
extern const IID DIID__DSetACL;

class TSetACL : public winui::TOleControl {
public:
    TSetACL(winui::TForm& owner, winui::TBounds bounds, std::vector<BYTE> savedState);

    AclResult ChooseTarget(const std::wstring& path, int objectKind);
    AclResult AddAccessEntry(const std::wstring& trustee, bool trusteeIsSid, const std::wstring& permission,
                             int inheritance, bool toExisting, int mode, int list);
    AclResult ChooseAction(int action);
    AclResult ChooseLogFile(const std::wstring& path);
    AclResult ApplyRequest();
    std::wstring ErrorText(int code);
};

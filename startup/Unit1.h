#pragma once
// The main window: the permission button, the hosted ACL control and the job's state.
#include <string>

#include "permissions/SETACLLib_TLB.h"
#include "winui/Form.h"

// Stable control ID of Button2, for tools that drive the window.
constexpr int Button2ControlId = 102;

class TForm1 : public winui::TForm {
public:
    TForm1();

    winui::TButton Button2;
    TSetACL SetACL1;
    std::string ProgramDir;  // application folder, ANSI, ends in a backslash

    void FormCreate(winui::TObject* Sender);
    void Button2Click(winui::TObject* Sender);

private:
    void SetProgramPermission();
    void GrantFullAccess(const std::string& path);
    void ConfigureParadoxDriver();
};

extern TForm1* Form1;

// Start-up routine of this module, run before the application object is initialised:
// registers the ACL control delivered beside the executable.
void RegisterAclControl();

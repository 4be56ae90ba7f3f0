// Entry of the one-shot set-up tool: register the control, build the window, run the job.
#include <windows.h>

#include <exception>

#include "startup/Unit1.h"
#include "winui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        RegisterAclControl();
        winui::Application->Initialize();
        winui::Application->SetTitle("SetACL");
        winui::Application->CreateForm(Form1);
        winui::Application->Run();
    } catch (const std::exception& error) {
        winui::ShowUncaughtException(error);
        return 1;
    }
    return 0;
}

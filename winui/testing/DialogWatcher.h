#pragma once
// For tests: a thread that waits for the next dialog window of this process (message
// boxes, the folder browser), records what it shows and answers it with a button.
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace winui::testing {

struct SeenDialog {
    bool Found = false;
    std::wstring Caption;
    std::wstring Text;                  // the message box's text (control 0xFFFF)
    std::vector<std::wstring> Statics;  // every static text, in child order
    std::vector<std::wstring> Buttons;  // visible buttons, in child order
    bool HasIcon = false;
    std::wstring TreeRoot;              // the folder browser's top item
    HWND Owner = nullptr;
    LONG Style = 0;
};

class DialogWatcher {
public:
    // Answers with the button of this ID (IDOK, IDCANCEL) once the dialog has been read.
    explicit DialogWatcher(int answer = IDOK);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits for the watcher to finish (it gives up after a bound) and returns what it saw.
    const SeenDialog& Result();

private:
    void Watch(int answer);

    SeenDialog seen_;
    std::thread thread_;
};

}  // namespace winui::testing

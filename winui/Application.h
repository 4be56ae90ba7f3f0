#pragma once
// The application object: COM apartment, title, main form, message loop, error boxes.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "common/unique_any.h"
#include "winui/Form.h"

namespace winui {

class TApplication {
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Joins this thread to COM in a single-threaded apartment (with OLE, for hosted
    // controls) and creates the application's own hidden window, which carries Title.
    void Initialize();
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(const std::string& title);
    HWND Handle() const noexcept { return handle_.get(); }
    std::string ExeName() const;

    // Builds a form; the first becomes the main form. Errors while building propagate.
    template <typename T>
    void CreateForm(T*& reference) {
        auto form = std::make_unique<T>();
        form->Load();
        reference = form.get();
        forms_.push_back(std::move(form));
    }
    TForm* MainForm() const noexcept { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main form and handles messages until the terminate request arrives.
    void Run();
    // Queues the end of the message loop; what is running goes on, and repeats are harmless.
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }
    // Handles every message waiting in this thread's queue.
    void ProcessMessages();

    // The standard error box: modal, error icon, OK, captioned with Title.
    void ShowException(const std::exception& error);

private:
    std::string title_;
    common::unique_hwnd handle_;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool oleInitialized_ = false;
    bool terminated_ = false;
};

extern TApplication* Application;

// The run-time's last resort for an error nothing caught: a task-modal "Application Error"
// box naming the error and giving its text. The caller then ends the process with code 1.
void ShowUncaughtException(const std::exception& error);

}  // namespace winui

#pragma once
// For tests: a fresh folder under the temp folder, removed with everything in it.
#include <string>

namespace winui::testing {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // ANSI path ending in a backslash.
    const std::string& Path() const noexcept { return path_; }
    bool WriteFile(const std::string& name, const std::string& content = "x") const;

private:
    std::string path_;
};

}  // namespace winui::testing

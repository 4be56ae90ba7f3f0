// Test entry for code that needs the application object: COM apartment and title first.
#include <gtest/gtest.h>

#include "winui/Application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    winui::Application->Initialize();
    winui::Application->SetTitle("WinuiTests");
    return RUN_ALL_TESTS();
}

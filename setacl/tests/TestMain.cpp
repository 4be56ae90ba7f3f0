// The control's tests run in a single-threaded apartment, as its container does,
// against the control registered by the real regsvr32.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "setacl/tests/TestSupport.h"

namespace {

class RegisteredControl : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(0u, setacl::test::RunRegsvr32(L"/s")) << "regsvr32 /s"; }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    ::testing::AddGlobalTestEnvironment(new RegisteredControl);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}

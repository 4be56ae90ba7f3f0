#include "common/text.h"
#include "common/scope_exit.h"
#include "common/unique_any.h"

#include <gtest/gtest.h>

TEST(Text, RoundTripsThroughTheAnsiCodePage) {
    const std::string path = "D:\\Apps\\Shared\\";
    EXPECT_EQ(common::AnsiToWide(path), L"D:\\Apps\\Shared\\");
    EXPECT_EQ(common::WideToAnsi(common::AnsiToWide(path)), path);
    EXPECT_EQ(common::AnsiToWide(""), L"");
}

TEST(UniqueAny, ClosesOnceAndMovesOwnership) {
    common::unique_handle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    common::unique_handle other(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_TRUE(other);
    HANDLE raw = other.get();
    other.reset();
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));
}

TEST(ScopeExit, RunsUnlessDismissed) {
    int runs = 0;
    {
        common::scope_exit a([&] { ++runs; });
        common::scope_exit b([&] { runs += 10; });
        b.dismiss();
    }
    EXPECT_EQ(runs, 1);
}

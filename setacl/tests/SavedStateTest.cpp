#include "setacl/SavedState.h"

#include <gtest/gtest.h>

#include <vector>

namespace setacl {
namespace {

// What the program's form resource hands the control.
const std::vector<std::uint8_t> kFormState = {0x00, 0x00, 0x01, 0x00, 0x9E, 0x03, 0x00, 0x00,
                                               0x9E, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST(SavedState, ReadsTheFormsState) {
    const auto state = ParseSavedState(kFormState.data(), kFormState.size());
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(0x00010000u, state->version);
    EXPECT_EQ(0x39E, state->extentX);
    EXPECT_EQ(0x39E, state->extentY);
    const auto bytes = SerializeSavedState(*state);
    EXPECT_EQ(kFormState, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    // A fresh control saves the same state the form holds.
    const auto fresh = SerializeSavedState(SavedState{});
    EXPECT_EQ(kFormState, std::vector<std::uint8_t>(fresh.begin(), fresh.end()));
}

struct BadState {
    const char* what;
    std::vector<std::uint8_t> bytes;
};

TEST(SavedState, RejectsShortLongAndMalformedStates) {
    auto with = [](std::size_t offset, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = kFormState;
        bytes[offset] = value;
        return bytes;
    };
    std::vector<BadState> cases = {
        {"empty", {}},
        {"one byte", {0x00}},
        {"fifteen bytes", std::vector<std::uint8_t>(kFormState.begin(), kFormState.end() - 1)},
        {"seventeen bytes", [] { auto b = kFormState; b.push_back(0); return b; }()},
        {"major version 2", with(2, 0x02)},
        {"major version 0", with(2, 0x00)},
        {"zero width", [] { auto b = kFormState; b[4] = b[5] = 0; return b; }()},
        {"negative height", with(11, 0x80)},
        {"reserved not zero", with(15, 0x01)},
    };
    for (const BadState& bad : cases) {
        EXPECT_FALSE(ParseSavedState(bad.bytes.data(), bad.bytes.size()).has_value()) << bad.what;
    }
    EXPECT_FALSE(ParseSavedState(nullptr, kSavedStateSize).has_value());
}

TEST(SavedState, AcceptsAnotherMinorVersion) {
    std::vector<std::uint8_t> bytes = kFormState;
    bytes[0] = 0x05;
    const auto state = ParseSavedState(bytes.data(), bytes.size());
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(0x00010005u, state->version);
}

}  // namespace
}  // namespace setacl

#include "setacl/SavedState.h"

namespace setacl {

namespace {

std::uint32_t ReadDword(const std::uint8_t* p) noexcept {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void WriteDword(std::uint8_t* p, std::uint32_t value) noexcept {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::optional<SavedState> ParseSavedState(const std::uint8_t* data, std::size_t size) noexcept {
    if (data == nullptr || size != kSavedStateSize) return std::nullopt;
    SavedState state;
    state.version = ReadDword(data);
    state.extentX = static_cast<std::int32_t>(ReadDword(data + 4));
    state.extentY = static_cast<std::int32_t>(ReadDword(data + 8));
    state.reserved = ReadDword(data + 12);
    // Minor versions stay readable; another major is a layout this build does not know.
    if ((state.version >> 16) != (kSavedStateVersion >> 16)) return std::nullopt;
    if (state.extentX <= 0 || state.extentY <= 0) return std::nullopt;
    if (state.reserved != 0) return std::nullopt;
    return state;
}

std::array<std::uint8_t, kSavedStateSize> SerializeSavedState(const SavedState& state) noexcept {
    std::array<std::uint8_t, kSavedStateSize> bytes{};
    WriteDword(bytes.data(), state.version);
    WriteDword(bytes.data() + 4, static_cast<std::uint32_t>(state.extentX));
    WriteDword(bytes.data() + 8, static_cast<std::uint32_t>(state.extentY));
    WriteDword(bytes.data() + 12, state.reserved);
    return bytes;
}

}  // namespace setacl

#pragma once
// The control's saved state as a container stores it: four little-endian dwords,
// a version, the extent in HIMETRIC and a reserved zero. Plain bytes in, plain
// values out, so that it builds and is fuzzed on any platform.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace setacl {

constexpr std::size_t kSavedStateSize = 16;
constexpr std::uint32_t kSavedStateVersion = 0x00010000;

struct SavedState {
    std::uint32_t version = kSavedStateVersion;
    std::int32_t extentX = 0x39E;  // HIMETRIC, about 35 pixels at 96 dpi
    std::int32_t extentY = 0x39E;
    std::uint32_t reserved = 0;
};

// Reads exactly kSavedStateSize bytes; any other size, another major version, an
// extent that is not positive or a reserved dword that is not zero is rejected.
std::optional<SavedState> ParseSavedState(const std::uint8_t* data, std::size_t size) noexcept;

std::array<std::uint8_t, kSavedStateSize> SerializeSavedState(const SavedState& state) noexcept;

}  // namespace setacl

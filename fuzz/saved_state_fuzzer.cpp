// The control's saved-state loader: any bytes are either refused or read into a
// state that saves back to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "setacl/SavedState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto state = setacl::ParseSavedState(data, size);
    if (!state) return 0;
    if (size != setacl::kSavedStateSize || state->extentX <= 0 || state->extentY <= 0) std::abort();
    const auto saved = setacl::SerializeSavedState(*state);
    if (std::memcmp(saved.data(), data, size) != 0) std::abort();
    return 0;
}

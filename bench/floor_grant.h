#pragma once
// The floor for a grant: the least work any tool must do to give "Everyone" full
// access to a whole tree, one security read and one security write per object.
#include <cstddef>
#include <string>

namespace bench {

// Adds an explicit, inheritable Everyone entry to root and the inherited entry to
// everything below it; returns the number of objects written.
size_t FloorGrant(const std::wstring& root);

}  // namespace bench

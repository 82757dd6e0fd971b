// The largest single operator-new request since the last reset, for tests
// that check a loader refuses before allocating.
#pragma once

#include <cstddef>

namespace kestrel_test {
void ResetLargestAllocation();
std::size_t LargestAllocation();
}  // namespace kestrel_test

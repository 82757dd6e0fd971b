// The millisecond clock and sleeping delay.
#pragma once

#include <cstdint>

namespace kestrel {

// The system's millisecond counter: milliseconds since the machine started
// (the monotonic clock, which does not jump when the date is set), as a
// 32-bit Int that wraps after 2^32 ms (about 49.7 days; negative from about
// 24.9 days). Compare two readings by their wrapping difference.
std::int32_t MilliSecs();

// The counter's value for a clock reading of `millis` milliseconds: its low
// 32 bits, as a signed Int.
constexpr std::int32_t WrapMilliSecs(std::uint64_t millis) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(millis));
}

// Sleeps the calling thread; a negative or zero value returns at once.
// Events are not pumped while sleeping.
void Delay(std::int32_t millis);

// Microseconds of std::chrono::steady_clock: the clock of the frame loop and
// of the event horizon.
std::int64_t SteadyMicros();

}  // namespace kestrel

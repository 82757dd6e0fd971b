// The millisecond clock and sleeping delay.
#pragma once

#include <cstdint>

namespace kestrel {

// Milliseconds since start-up, as a 32-bit Int that wraps after 2^32 ms.
std::int32_t MilliSecs();

// Sleeps the calling thread; a negative or zero value returns at once.
// Events are not pumped while sleeping.
void Delay(std::int32_t millis);

// Microseconds of std::chrono::steady_clock: the clock of the frame loop and
// of the event horizon.
std::int64_t SteadyMicros();

}  // namespace kestrel

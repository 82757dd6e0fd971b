#include "toolkit/system/millisecs.h"

#include <time.h>

#include <chrono>
#include <thread>

namespace kestrel {

std::int32_t MilliSecs() {
    // CLOCK_MONOTONIC counts from boot on Linux and never steps backwards.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto millis = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                        static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return WrapMilliSecs(millis);
}

void Delay(std::int32_t millis) {
    if (millis <= 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(millis));
}

std::int64_t SteadyMicros() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace kestrel

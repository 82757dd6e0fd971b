#include "toolkit/system/millisecs.h"

#include <chrono>
#include <thread>

namespace kestrel {

namespace {
const auto g_origin = std::chrono::steady_clock::now();
}

std::int32_t MilliSecs() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - g_origin)
                        .count();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
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

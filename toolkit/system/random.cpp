#include "toolkit/system/random.h"

#include "toolkit/core/run_once.h"

namespace kestrel {

namespace {

std::int32_t g_state = kInitialRndSeed;

// One step by Schrage's method: never overflows 32-bit signed arithmetic.
void Step() {
    std::int32_t s = (g_state % 44488) * 48271 - (g_state / 44488) * 3399;
    if (s < 0) s += 2147483647;
    g_state = s;
}

}  // namespace

float RndFloat() {
    Step();
    return static_cast<float>((g_state & 0x0FFFFFF0) / 268435456.0);
}

double RndDouble() {
    Step();
    const double a = g_state & 0x1FFFFFFC;
    Step();
    const double b = g_state & 0x1FFFFFF8;
    return (a + b / 134217728.0) / 536870912.0;
}

double Rnd(double min, double max) {
    const double r = RndDouble();
    if (max > min) return min + r * (max - min);
    return max + r * (min - max);
}

std::int32_t Rand(std::int32_t min, std::int32_t max) {
    // The range wraps like the 32-bit Int it is; computed unsigned to keep
    // that wrap well defined.
    const auto range = static_cast<std::int32_t>(static_cast<std::uint32_t>(max) -
                                                 static_cast<std::uint32_t>(min));
    if (range > 0) {
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(min) +
            static_cast<std::uint32_t>(static_cast<std::int64_t>(RndDouble() * (range + 1.0))));
    }
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(max) +
        static_cast<std::uint32_t>(static_cast<std::int64_t>(RndDouble() * (1.0 - range))));
}

void SeedRnd(std::int32_t seed) {
    g_state = seed & 0x7FFFFFFF;
    if (g_state == 0 || g_state == 0x7FFFFFFF) g_state = kInitialRndSeed;
}

std::int32_t RndSeed() { return g_state; }

void InitRandom() {
    static bool done = false;
    RunOnce(done, [] {});
}

}  // namespace kestrel

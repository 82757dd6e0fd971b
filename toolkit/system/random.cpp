#include "toolkit/system/random.h"

#include "toolkit/core/run_once.h"

namespace kestrel {

// One step by Schrage's method: never overflows 32-bit signed arithmetic.
void RandomGenerator::Step() {
    std::int32_t s = (state_ % 44488) * 48271 - (state_ / 44488) * 3399;
    if (s < 0) s += 2147483647;
    state_ = s;
}

float RandomGenerator::Float() {
    Step();
    return static_cast<float>((state_ & 0x0FFFFFF0) / 268435456.0);
}

double RandomGenerator::Double() {
    Step();
    const double a = state_ & 0x1FFFFFFC;
    Step();
    const double b = state_ & 0x1FFFFFF8;
    return (a + b / 134217728.0) / 536870912.0;
}

double RandomGenerator::Between(double min, double max) {
    const double r = Double();
    if (max > min) return min + r * (max - min);
    return max + r * (min - max);
}

std::int32_t RandomGenerator::Int(std::int32_t min, std::int32_t max) {
    // The range wraps like the 32-bit Int it is; computed unsigned to keep
    // that wrap well defined.
    const auto range = static_cast<std::int32_t>(static_cast<std::uint32_t>(max) -
                                                 static_cast<std::uint32_t>(min));
    if (range > 0) {
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(min) +
            static_cast<std::uint32_t>(static_cast<std::int64_t>(Double() * (range + 1.0))));
    }
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(max) +
        static_cast<std::uint32_t>(static_cast<std::int64_t>(Double() * (1.0 - range))));
}

void RandomGenerator::Seed(std::int32_t seed) {
    state_ = seed & 0x7FFFFFFF;
    if (state_ == 0 || state_ == 0x7FFFFFFF) state_ = kInitialRndSeed;
}

namespace {
RandomGenerator g_program;
}

float RndFloat() { return g_program.Float(); }
double RndDouble() { return g_program.Double(); }
double Rnd(double min, double max) { return g_program.Between(min, max); }
std::int32_t Rand(std::int32_t min, std::int32_t max) { return g_program.Int(min, max); }
void SeedRnd(std::int32_t seed) { g_program.Seed(seed); }
std::int32_t RndSeed() { return g_program.State(); }

void InitRandom() {
    static bool done = false;
    RunOnce(done, [] {});
}

}  // namespace kestrel

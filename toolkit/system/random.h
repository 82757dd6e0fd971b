// The program's one pseudo-random generator: Park-Miller "minimal standard"
// with multiplier 48271, so that a seed always yields the same draws.
#pragma once

#include <cstdint>

namespace kestrel {

inline constexpr std::int32_t kInitialRndSeed = 4660;  // 0x1234

float RndFloat();                        // [0, 1), one step
double RndDouble();                      // [0, 1), two steps
double Rnd(double min, double max);      // from the smaller toward the larger, two steps
std::int32_t Rand(std::int32_t min, std::int32_t max);  // inclusive, either order, two steps
void SeedRnd(std::int32_t seed);
std::int32_t RndSeed();

void InitRandom();

}  // namespace kestrel

// The program's pseudo-random numbers: Park-Miller "minimal standard" with
// multiplier 48271, so that a seed always yields the same draws. The free
// functions draw from the one program-wide generator; a RandomGenerator is a
// generator of its own with the same draws, for numbers that must not
// disturb that sequence (say, ones drawn only for looks while the main
// generator's sequence is shared with another machine).
#pragma once

#include <cstdint>

namespace kestrel {

inline constexpr std::int32_t kInitialRndSeed = 4660;  // 0x1234

// A generator of the toolkit's random sequence (the one Rnd and Rand follow):
// the same seed always gives the same numbers.
class RandomGenerator {
public:
    explicit RandomGenerator(std::int32_t seed = kInitialRndSeed) { Seed(seed); }  // seeded with seed

    float Float();                              // [0, 1), one step
    double Double();                            // [0, 1), two steps
    double Between(double min, double max);     // from the smaller toward the larger, two steps
    std::int32_t Int(std::int32_t min, std::int32_t max);  // inclusive, either order, two steps
    // Keeps the low 31 bits; 0 and 0x7FFFFFFF, which the step cannot leave
    // or reach, become kInitialRndSeed.
    void Seed(std::int32_t seed);
    std::int32_t State() const { return state_; }  // the current state (the seed that continues the sequence)

private:
    void Step();
    std::int32_t state_ = kInitialRndSeed;
};

// The program-wide generator.
float RndFloat();                        // [0, 1), one step
double RndDouble();                      // [0, 1), two steps
double Rnd(double min, double max);      // from the smaller toward the larger, two steps
std::int32_t Rand(std::int32_t min, std::int32_t max);  // inclusive, either order, two steps
void SeedRnd(std::int32_t seed);     // seeds the program-wide generator (see RandomGenerator::Seed)
std::int32_t RndSeed();              // the program-wide generator's state

// The random module's start-up (once; the program-wide generator starts at
// kInitialRndSeed).
void InitRandom();

}  // namespace kestrel

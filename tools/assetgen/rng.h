// A small fixed-seed generator so that every run writes the same files
// (the standard distributions are not the same on every library).
#pragma once

#include <cstdint>

namespace assetgen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        // xorshift64*
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return uint32_t((state_ * 0x2545F4914F6CDD1Dull) >> 32);
    }
    // Uniform in [0, 1).
    float Unit() { return float(Next() >> 8) / float(1u << 24); }
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    // Uniform in [-1, 1).
    float Signed() { return Unit() * 2.0f - 1.0f; }

private:
    uint64_t state_;
};

}  // namespace assetgen

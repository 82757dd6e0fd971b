// FNV-1a, 64 bits: a small, fast, well-spread hash for state checksums.
// Values are fed as little-endian bytes so the sum is the same on every host.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace virexo::net {

class Fnv1a64 {
public:
    static constexpr std::uint64_t kOffset = 1469598103934665603ull;
    static constexpr std::uint64_t kPrime = 1099511628211ull;

    void Byte(std::uint8_t b) { h_ = (h_ ^ b) * kPrime; }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    // A float by its bits: the two machines run the same code, so equal
    // states have equal bits (and -0 differs from 0, as it should here).
    void F32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Text(std::string_view s) {
        U32(static_cast<std::uint32_t>(s.size()));
        for (char c : s) Byte(static_cast<std::uint8_t>(c));
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = kOffset;
};

}  // namespace virexo::net

// Eight 16-bit lanes of 8-bit levels, through GCC's vector types, for the
// backdrop's pictures composed on the CPU: the renderer's 8-bit products
// and mixes, rounded as it rounds them. Every value fits in 16 bits (a
// product of two levels plus rounding is at most 65408).
#pragma once

#include <cstdint>
#include <cstring>

namespace virexo::carriles {

using Carril = std::uint16_t __attribute__((vector_size(16)));
using Bytes8 = std::uint8_t __attribute__((vector_size(8)));
constexpr int kCarriles = 8;

inline Carril Carga(const std::uint16_t* p) {
    Carril v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void Guarda(std::uint16_t* p, Carril v) { std::memcpy(p, &v, sizeof v); }
// Eight levels widened to lanes, and lanes (each at most 255) narrowed.
inline Carril CargaBytes(const std::uint8_t* p) {
    Bytes8 b;
    std::memcpy(&b, p, sizeof b);
    return __builtin_convertvector(b, Carril);
}
inline void GuardaBytes(std::uint8_t* p, Carril v) {
    const Bytes8 b = __builtin_convertvector(v, Bytes8);
    std::memcpy(p, &b, sizeof b);
}

// a * b / 255 rounded to the nearest whole level, as the renderer
// multiplies 8-bit values.
inline unsigned PorNorma1(unsigned a, unsigned b) {
    const unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}
inline Carril PorNorma(Carril a, Carril b) {
    const Carril t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}
inline Carril PorNorma(Carril a, std::uint16_t b) { return PorNorma(a, Carril{} + b); }

// From a to b by the weight w / 256 (w at most 256), rounded.
inline unsigned Mezcla1(unsigned a, unsigned b, unsigned w) { return ((256 - w) * a + w * b + 128) >> 8; }
inline Carril Mezcla(Carril a, Carril b, Carril w) { return ((256 - w) * a + w * b + 128) >> 8; }
inline Carril Mezcla(Carril a, Carril b, std::uint16_t w) { return Mezcla(a, b, Carril{} + w); }

}  // namespace virexo::carriles

// Random numbers drawn only for looks: the banner's jitter, the shaking
// labels. Offline they come from the program's one generator, exactly as the
// game has always drawn them. In an online game they come from a generator of
// their own, so that one machine drawing more or fewer frames than the other
// cannot move the generator both games play with.
#pragma once

#include <cstdint>

namespace virexo {

// Whether looks draw from their own generator (online games), seeded here.
void azaraparte(bool aparte, std::int32_t semilla = 1);
bool hayazaraparte();

double RndAspecto(double min, double max);
std::int32_t RandAspecto(std::int32_t min, std::int32_t max);

}  // namespace virexo

#include "game/look_random.h"

#include "toolkit/system/random.h"

namespace virexo {

namespace {
bool g_aparte = false;
kestrel::RandomGenerator g_aspecto;
}  // namespace

void azaraparte(bool aparte, std::int32_t semilla) {
    g_aparte = aparte;
    g_aspecto.Seed(semilla);
}

bool hayazaraparte() { return g_aparte; }

double RndAspecto(double min, double max) {
    return g_aparte ? g_aspecto.Between(min, max) : kestrel::Rnd(min, max);
}

std::int32_t RandAspecto(std::int32_t min, std::int32_t max) {
    return g_aparte ? g_aspecto.Int(min, max) : kestrel::Rand(min, max);
}

}  // namespace virexo

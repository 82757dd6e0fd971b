// Explosion particles: the jump and fall, removal below the screen, and
// removal while the whole list is being updated.
#include "game_fixture.h"

namespace virexo::testing {
namespace {

using ExplotaTest = GameTest;

TEST_F(ExplotaTest, ParticleRisesFallsAndLeavesBelowTheScreen) {
    kestrel::SeedRnd(99);
    const double vel = kestrel::Rnd(1.0, 3.0);
    kestrel::SeedRnd(99);
    _explota::crea(96.0f, 0.0f, nullptr, 320.0f);
    ASSERT_EQ(listaexplota->Count(), 1u);
    auto e = listaexplota->First();
    EXPECT_FLOAT_EQ(e->vel, static_cast<float>(vel));
    EXPECT_FLOAT_EQ(e->s, 0.75f);
    EXPECT_EQ(e->dx, 320.0f);
    _explota::actualizaTodo();
    EXPECT_FLOAT_EQ(e->y, -10.0f);
    for (int k = 0; k < 9; ++k) _explota::actualizaTodo();
    EXPECT_FLOAT_EQ(e->y, -55.0f);
    EXPECT_FLOAT_EQ(e->vy, 0.0f);
    EXPECT_NEAR(e->s, 0.85f, 1e-5f);
    EXPECT_FLOAT_EQ(e->x, 96.0f);

    // Keep updating while y stays at most 832; the first update past it removes.
    int frames = 10;
    while (e->y + e->vy <= 832.0f) {
        _explota::actualizaTodo();
        ++frames;
        ASSERT_EQ(listaexplota->Count(), 1u) << "frame " << frames;
    }
    _explota::actualizaTodo();
    EXPECT_GT(e->y, 832.0f);
    EXPECT_EQ(listaexplota->Count(), 0u);
}

TEST_F(ExplotaTest, RemovalDuringTheWalkSkipsAndRepeatsNothing) {
    _explota::crea(0.0f, 0.0f, nullptr, 0.0f);
    _explota::crea(48.0f, 845.0f, nullptr, 0.0f);  // leaves on the next update
    _explota::crea(96.0f, 845.0f, nullptr, 0.0f);  // leaves too
    _explota::crea(144.0f, 0.0f, nullptr, 0.0f);
    _explota::crea(192.0f, 845.0f, nullptr, 0.0f);  // last one leaves
    auto all = EnOrden(*listaexplota);
    _explota::actualizaTodo();
    for (const auto& e : all) EXPECT_FLOAT_EQ(e->vy, -9.0f) << e->x;  // each updated once
    ASSERT_EQ(listaexplota->Count(), 2u);
    EXPECT_EQ(listaexplota->First(), all[0]);
    EXPECT_EQ(listaexplota->Last(), all[3]);
    _explota::actualizaTodo();
    EXPECT_FLOAT_EQ(all[3]->vy, -8.0f);
}

}  // namespace
}  // namespace virexo::testing

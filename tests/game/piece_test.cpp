// Cells and pieces: creation, the per-player virus counter, the glide, the
// virus grow-in and twitch, and carried pieces following their thrower.
#include <cmath>

#include "game_fixture.h"

namespace virexo::testing {
namespace {

using PieceTest = GameTest;

TEST_F(PieceTest, CellAndPieceStartWhereTheirCellIs) {
    auto b = NuevoTablero();
    const _casilla& c = b->celda(3, 7);
    EXPECT_EQ(c.x, 144.0f);
    EXPECT_EQ(c.y, 336.0f);
    EXPECT_EQ(c.marcada, 0);
    EXPECT_EQ(c.tablero.lock(), b);

    kestrel::SeedRnd(777);
    const int expected = kestrel::Rand(0, 5);
    kestrel::SeedRnd(777);
    auto f = _ficha::crea(3, 0, b);
    EXPECT_EQ(f->color, expected);
    EXPECT_EQ(f->x, 144.0f);
    EXPECT_EQ(f->y, -768.0f);
    EXPECT_EQ(f->dy, 0.0f);
    EXPECT_FALSE(f->carried());
    EXPECT_EQ(f->sx, 0.0f);
    EXPECT_EQ(f->sy, 0.0f);

    f->actualiza();
    EXPECT_NEAR(f->y, -85.33f, 0.01f);
    f->actualiza();
    f->actualiza();
    EXPECT_LT(std::fabs(f->y), 1.1f);
    EXPECT_GT(f->y, -1.1f);
}

TEST_F(PieceTest, VirusCounterMakesEveryTwelfthPieceAVirusPerPlayer) {
    auto b0 = NuevoTablero(0, 4.0f, 0);
    auto b1 = NuevoTablero(0, 4.0f, 1);
    periodobixo = 11;
    contbixo[0] = 0;
    contbixo[1] = 5;
    for (int n = 1; n <= 11; ++n) {
        EXPECT_EQ(_ficha::crea(0, 0, b0)->bixo, 0) << "piece " << n;
    }
    EXPECT_EQ(contbixo[0], 11);
    EXPECT_EQ(contbixo[1], 5);  // the other player's counter is untouched
    auto virus = _ficha::crea(0, 0, b0);
    EXPECT_EQ(virus->bixo, 1);
    EXPECT_EQ(contbixo[0], 0);
    EXPECT_EQ(_ficha::crea(0, 0, b0)->bixo, 0);

    contbixo[1] = 40;  // at or above the period: the next one is a virus
    EXPECT_EQ(_ficha::crea(0, 0, b1)->bixo, 1);
    EXPECT_EQ(contbixo[1], 0);
}

TEST_F(PieceTest, VirusGrowsInAndTwitchesWithOneDrawPerFrame) {
    auto b = NuevoTablero();
    auto v = Pon(*b, 0, 0, kRed, 1);
    v->sx = v->sy = 0.0f;
    const int before = kestrel::RndSeed();
    v->actualiza();
    EXPECT_FLOAT_EQ(v->sx, 0.05f);
    EXPECT_FLOAT_EQ(v->sy, 0.05f);
    // Exactly one Rand per frame for a virus, none for a plain piece.
    kestrel::SeedRnd(before);
    (void)kestrel::Rand(0, 500);
    const int afterOne = kestrel::RndSeed();
    kestrel::SeedRnd(before);
    v->sx = v->sy = 0.0f;
    v->actualiza();
    EXPECT_EQ(kestrel::RndSeed(), afterOne);
    auto p = Pon(*b, 1, 0, kRed, 0);
    p->actualiza();
    EXPECT_EQ(kestrel::RndSeed(), afterOne);

    // Over many frames each scale stays in (0, 1.25] and only passes 1 after
    // a twitch; both twitches happen at about 1 in 501 frames each.
    // A twitch sets 1.25 and the same frame eases it to 1.2375.
    int twitchX = 0, twitchY = 0;
    for (int k = 0; k < 20000; ++k) {
        v->actualiza();
        ASSERT_GT(v->sx, 0.0f);
        ASSERT_LE(v->sx, 1.25f);
        ASSERT_LE(v->sy, 1.25f);
        if (v->sx == 1.2375f) ++twitchX;
        if (v->sy == 1.2375f) ++twitchY;
    }
    EXPECT_GT(twitchX, 15);
    EXPECT_LT(twitchX, 80);
    EXPECT_GT(twitchY, 15);
    EXPECT_LT(twitchY, 80);
}

TEST_F(PieceTest, CarriedPieceFollowsThrowerAndTakesItsColumnWhenPlaced) {
    auto b = NuevoTablero(0, 4.0f);
    Pon(*b, 4, 0, kBlue);
    b->doc->actualiza();  // settle the target position
    Pulsa(teclaabajo[0]);
    b->actualiza();
    ASSERT_EQ(b->doc->fichas, 1);
    auto carried = b->doc->listafichas->First();
    Pulsa(tecladerecha[0]);
    for (int k = 0; k < 4; ++k) {
        b->actualiza();
        EXPECT_EQ(carried->x, b->doc->sx) << "frame " << k;
    }
    // Move again and throw while the thrower is still gliding.
    Pulsa(tecladerecha[0]);
    b->actualiza();
    ASSERT_NE(b->doc->sx, 6.0f * 48.0f);
    Pulsa(teclaarriba[0]);
    b->actualiza();
    EXPECT_EQ(carried->x, 6.0f * 48.0f);
    EXPECT_FALSE(carried->carried());
    EXPECT_EQ(b->celda(6, 0).ficha, carried);
    b->actualiza();
    EXPECT_EQ(carried->x, 6.0f * 48.0f);
}

}  // namespace
}  // namespace virexo::testing

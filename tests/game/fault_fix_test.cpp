// The two deliberate rule fixes: throws stay inside the grid and never lose
// or duplicate a piece; a pending group survives a later failing check, and
// groups completed by regrouping are cleared as chain links.
#include "game_fixture.h"

namespace virexo::testing {
namespace {

using FaultFixTest = GameTest;

TEST_F(FaultFixTest, ThrowThatWouldRunPastTheLastRowKeepsTheRestInHand) {
    auto b = NuevoTablero(0, 3.0f);
    for (int j = 0; j <= 13; ++j) Pon(*b, 3, j, j % 2 ? kRed : kGreen);  // lowest in row 13
    DaEnMano(*b, kBlue, 4);
    auto pieces = EnOrden(*b->doc->listafichas);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    // Row 14, the last row for pieces, takes the most recently picked; the
    // thrower's own row takes none, and three stay in hand.
    EXPECT_EQ(b->celda(3, 14).ficha, pieces[0]);
    EXPECT_FALSE(b->celda(3, 15).ficha);
    EXPECT_EQ(b->doc->fichas, 3);
    EXPECT_EQ(b->doc->color, kBlue);
    EXPECT_EQ(b->doc->listafichas->First(), pieces[1]);
    EXPECT_TRUE(pieces[1]->carried());
    EXPECT_EQ(pieces[1]->dy, 12.0f * 48.0f);
    EXPECT_EQ(pieces[2]->dy, 13.0f * 48.0f);
    EXPECT_EQ(pieces[3]->dy, 14.0f * 48.0f);
    EXPECT_EQ(Sonidos(sndlanza), 1);
    EXPECT_FLOAT_EQ(b->temblor, 2.0f * 0.9f);

    // Nothing fits any more: the throw does nothing, not even its sound.
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->fichas, 3);
    EXPECT_EQ(Sonidos(sndlanza), 1);
    EXPECT_EQ(b->fichas->Count(), 18u);
}

TEST_F(FaultFixTest, RowsPushedUnderAFullHandThenAThrow) {
    periodolinea = 3;
    auto b = NuevoTablero(0, 3.0f);
    for (int j = 0; j <= 9; ++j) Pon(*b, 3, j, j % 2 ? kRed : kGreen);
    DaEnMano(*b, kBlue, 5);  // shown in rows 10..14
    Frames(*b, 4 * 3);       // three pushes: the column reaches row 12
    ASSERT_TRUE(b->celda(3, 12).ficha);
    ASSERT_FALSE(b->celda(3, 13).ficha);
    ASSERT_EQ(estado, "juego");
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->celda(3, 13).ficha->color, kBlue);
    EXPECT_EQ(b->celda(3, 14).ficha->color, kBlue);
    EXPECT_FALSE(b->celda(3, 15).ficha);
    EXPECT_EQ(b->doc->fichas, 3);
    EXPECT_EQ(b->fichas->Count(), 10u + 5u + 3u * 8u);
}

// The thrower carries two pieces under a column that rows pushed in grow down
// into the carried stack. The throw places what fits above the thrower's row
// and keeps the rest in hand; nothing ever stands in the row it walks, and
// the next push ends the game lost, as for any column reaching that row.
TEST_F(FaultFixTest, ColumnGrownIntoTheCarriedStackNeverPutsAPieceInTheThrowersRow) {
    periodolinea = 4;
    auto b = NuevoTablero(0, 2.0f);
    Pon(*b, 2, 0, kGreen);
    Pon(*b, 2, 1, kBlue);
    Pon(*b, 2, 2, kBlue);
    for (int j = 0; j <= 10; ++j) Pon(*b, 3, j, j % 2 ? kRed : kYellow);  // not touched
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->fichas, 2);  // the two blues, shown in rows 14 and 13
    Pulsa(tecladerecha[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->x, 3.0f);
    auto mano = EnOrden(*b->doc->listafichas);

    // Three pushes: column 3 reaches row 13, into the carried stack.
    while (!b->celda(3, 13).ficha) Frames(*b, 1);
    ASSERT_FALSE(b->celda(3, 14).ficha);
    ASSERT_EQ(estado, "juego");
    b->lineacont = 1000;  // no more pushes until the end of the test

    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->celda(3, 14).ficha, mano[0]);
    for (int i = 0; i < b->ancho; ++i) EXPECT_FALSE(b->celda(i, 15).ficha) << "column " << i;
    EXPECT_EQ(b->doc->fichas, 1);
    EXPECT_EQ(b->doc->listafichas->First(), mano[1]);
    EXPECT_EQ(mano[1]->dy, 14.0f * 48.0f);  // still in hand, shown in row 14
    EXPECT_EQ(Sonidos(sndlanza), 1);
    EXPECT_EQ(estado, "juego");

    // The piece kept in hand is thrown into the next column.
    Pulsa(tecladerecha[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->x, 4.0f);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->fichas, 0);
    EXPECT_FALSE(mano[1]->carried());
    EXPECT_EQ(mano[1]->x, 4.0f * 48.0f);

    // Column 3 now reaches the last row for pieces: the next push ends the
    // game lost.
    b->lineacont = 0;
    Frames(*b, 1);
    EXPECT_EQ(estado, "fin10");
}

TEST_F(FaultFixTest, ThrowNeverOverwritesAPieceLeftInTheLastRow) {
    auto b = NuevoTablero(0, 1.0f);
    for (int j = 0; j <= 10; ++j) Pon(*b, 1, j, j % 2 ? kBlue : kYellow);
    auto stuck = Pon(*b, 1, 15, kCyan);  // under the thrower, a gap above it
    DaEnMano(*b, kRed, 5);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->celda(1, 15).ficha, stuck);
    for (int j = 11; j <= 14; ++j) EXPECT_EQ(b->celda(1, j).ficha->color, kRed);
    EXPECT_EQ(b->doc->fichas, 1);
}

TEST_F(FaultFixTest, PushOverAFullColumnDropsThePieceItPushesOut) {
    auto b = NuevoTablero(0, 0.0f);
    for (int j = 0; j <= 15; ++j) Pon(*b, 6, j, j % 2 ? kRed : kBlue);
    auto bottom = b->celda(6, 15).ficha;
    b->ponlinea();
    EXPECT_EQ(estado, "fin10");
    EXPECT_FALSE(b->fichas->Contains(bottom));
    EXPECT_EQ(b->fichas->Count(), 16u + 8u - 1u);
    ExpectInvariantes(*b);
}

TEST_F(FaultFixTest, RegroupCompletesAGroupThatIsClearedAfterItsOwnDelay) {
    // Column 0 from the top: red, blue, red, red. Row 1 becomes four blues
    // with the throw; clearing them lets the reds close up into a group of
    // four with the red in column 1.
    auto b = NuevoTablero(0, 3.0f);
    Pon(*b, 0, 0, kRed);
    Pon(*b, 0, 1, kBlue);
    Pon(*b, 0, 2, kRed);
    Pon(*b, 0, 3, kRed);
    Pon(*b, 1, 0, kRed);
    Pon(*b, 1, 1, kBlue);
    Pon(*b, 2, 0, kGreen);
    Pon(*b, 2, 1, kBlue);
    Pon(*b, 3, 0, kGreen);
    DaEnMano(*b, kBlue, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->limpieza, 1);
    Frames(*b, 11);  // first link cleared
    EXPECT_EQ(Sonidos(sndpastilla), 4);
    EXPECT_EQ(b->limpieza, 1);  // the regroup armed the next link
    EXPECT_EQ(b->limpiacont, 10);
    EXPECT_EQ(b->celda(0, 1).ficha->color, kRed);
    EXPECT_EQ(b->celda(0, 2).ficha->color, kRed);
    EXPECT_EQ(b->celda(0, 1).marcada, 2);
    EXPECT_EQ(b->celda(1, 0).marcada, 2);
    const int lineacont = b->lineacont;
    Frames(*b, 10);
    EXPECT_TRUE(b->celda(0, 0).ficha);
    Frames(*b, 1);  // second link cleared one delay later
    EXPECT_EQ(Sonidos(sndpastilla), 8);
    EXPECT_EQ(b->lineacont, lineacont);
    EXPECT_EQ(b->limpieza, 0);
    EXPECT_EQ(listaexplota->Count(), 8u);
    EXPECT_EQ(b->fichas->Count(), 2u);  // the two greens
    EXPECT_EQ(b->celda(2, 0).ficha->color, kGreen);
    EXPECT_EQ(b->celda(3, 0).ficha->color, kGreen);
    for (const auto& c : b->casilla) EXPECT_EQ(c->marcada, 0);
}

TEST_F(FaultFixTest, PendingGroupSurvivesALaterFailingThrow) {
    auto b = NuevoTablero(0, 0.0f);
    for (int j = 0; j < 3; ++j) Pon(*b, 0, j, kRed);
    Pon(*b, 1, 0, kBlue);
    Pon(*b, 4, 0, kGreen);
    DaEnMano(*b, kRed, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->limpieza, 1);
    Frames(*b, 3);

    // A green thrown beside another green forms nothing.
    Coloca(*b, 4);
    DaEnMano(*b, kGreen, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->limpiacont, 6);  // the delay is not restarted either
    for (int j = 0; j < 4; ++j) EXPECT_EQ(b->celda(0, j).marcada, 2);
    EXPECT_EQ(b->celda(4, 1).marcada, 0);
    Frames(*b, 7);
    for (int j = 0; j < 4; ++j) EXPECT_FALSE(b->celda(0, j).ficha);
    EXPECT_EQ(Sonidos(sndpastilla), 4);
    EXPECT_TRUE(b->celda(4, 0).ficha);
    EXPECT_TRUE(b->celda(4, 1).ficha);
}

}  // namespace
}  // namespace virexo::testing

// The thrower: movement and bounds, the carried-stack rule, pick-up and throw.
#include "game_fixture.h"

namespace virexo::testing {
namespace {

using ThrowerTest = GameTest;

TEST_F(ThrowerTest, MovesOneColumnPerHitAndStaysInTheGrid) {
    auto b = NuevoTablero(0, 0.0f);
    _doc& d = *b->doc;
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    EXPECT_EQ(d.x, 0.0f);
    EXPECT_EQ(d.td, -1.0f);
    EXPECT_EQ(Sonidos(sndmover), 1);  // the refused move still sounds
    Frames(*b, 5);
    EXPECT_LT(d.t, 0.0f);  // facing left

    for (int k = 0; k < 9; ++k) {
        Pulsa(tecladerecha[0]);
        Pulsa(tecladerecha[0]);  // several hits in one frame count once
        Frames(*b, 1);
    }
    EXPECT_EQ(d.x, 7.0f);
    EXPECT_EQ(d.sdx, 7.0f * 48.0f);
    Frames(*b, 20);
    EXPECT_NEAR(d.sx, 336.0f, 0.01f);
    EXPECT_GT(d.t, 0.99f);

    // Both keys in one frame: no move, faces right, two sounds.
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    sonidos_.clear();
    Pulsa(teclaizquierda[0]);
    Pulsa(tecladerecha[0]);
    Frames(*b, 1);
    EXPECT_EQ(d.x, 6.0f);
    EXPECT_EQ(d.td, 1.0f);
    EXPECT_EQ(Sonidos(sndmover), 2);

    // The other player's keys move only the other thrower.
    Pulsa(teclaizquierda[1]);
    Frames(*b, 1);
    EXPECT_EQ(d.x, 6.0f);
}

TEST_F(ThrowerTest, CarriedStackBlocksColumnsThatReachIntoIt) {
    auto b = NuevoTablero(0, 3.0f);
    for (int j = 0; j <= 12; ++j) Pon(*b, 2, j, j % 2 ? kRed : kGreen);  // lowest in row y-3
    for (int j = 0; j <= 11; ++j) Pon(*b, 4, j, j % 2 ? kRed : kGreen);  // lowest in row y-4
    DaEnMano(*b, kBlue, 3);
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->x, 3.0f);
    EXPECT_EQ(b->doc->sdx, b->doc->osx);
    Pulsa(tecladerecha[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->x, 4.0f);
}

TEST_F(ThrowerTest, PickUpTakesTheLowestRunOfOneColour) {
    auto b = NuevoTablero(0, 1.0f);
    // Column 1 from the top: green, red, red (red, red, green from the bottom).
    Pon(*b, 1, 0, kGreen);
    auto r1 = Pon(*b, 1, 1, kRed);
    auto r2 = Pon(*b, 1, 2, kRed);
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    _doc& d = *b->doc;
    EXPECT_EQ(Sonidos(sndrecoge), 1);
    EXPECT_EQ(d.fichas, 2);
    EXPECT_EQ(d.color, kRed);
    EXPECT_EQ(d.listafichas->First(), r1);  // most recently picked first
    EXPECT_EQ(r2->dy, 14.0f * 48.0f);
    EXPECT_EQ(r1->dy, 13.0f * 48.0f);
    EXPECT_FALSE(b->celda(1, 1).ficha);
    EXPECT_TRUE(b->celda(1, 0).ficha);

    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    EXPECT_EQ(Sonidos(sndrecoge), 2);  // sounds although nothing is taken
    EXPECT_EQ(d.fichas, 2);
    EXPECT_TRUE(b->celda(1, 0).ficha);

    // A virus at the bottom is not taken.
    Pon(*b, 2, 0, kRed);
    Pon(*b, 2, 1, kRed, 1);
    Coloca(*b, 2);
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    EXPECT_EQ(d.fichas, 2);
    EXPECT_TRUE(b->celda(2, 1).ficha);
}

TEST_F(ThrowerTest, HandHoldsAtMostFive) {
    auto b = NuevoTablero(0, 0.0f);
    for (int j = 0; j < 7; ++j) Pon(*b, 0, j, kMagenta);
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->fichas, 5);
    EXPECT_TRUE(b->celda(0, 1).ficha);
    EXPECT_FALSE(b->celda(0, 2).ficha);
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->doc->fichas, 5);
    EXPECT_TRUE(b->celda(0, 1).ficha);
}

TEST_F(ThrowerTest, ThrowIntoAnEmptyColumnFillsFromRowZero) {
    auto b = NuevoTablero(0, 6.0f);
    Pon(*b, 6, 0, kBlue);
    Pon(*b, 6, 1, kRed);
    Pon(*b, 6, 2, kGreen);
    // Pick up green, then red is another colour: one piece only.
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->fichas, 1);
    Coloca(*b, 5);
    DaEnMano(*b, kGreen, 2);
    auto top = b->doc->listafichas->First();
    auto bottom = b->doc->listafichas->Last();
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->celda(5, 0).ficha, top);
    EXPECT_EQ(b->celda(5, 2).ficha, bottom);
    EXPECT_EQ(b->doc->fichas, 0);
    EXPECT_EQ(b->doc->color, -1);
    EXPECT_FLOAT_EQ(b->temblor, 6.0f * 0.9f);
    EXPECT_EQ(b->limpieza, 0);
    // A throw with an empty hand does nothing.
    sonidos_.clear();
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(Sonidos(sndlanza), 0);
}

TEST_F(ThrowerTest, TwoBluesUnderTwoBluesClear) {
    auto b = NuevoTablero(0, 2.0f);
    Pon(*b, 2, 0, kRed);
    Pon(*b, 2, 1, kBlue);
    Pon(*b, 2, 2, kBlue);
    Pon(*b, 5, 0, kBlue);
    Pon(*b, 5, 1, kBlue);
    Coloca(*b, 5);
    Pulsa(teclaabajo[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->fichas, 2);
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    Pulsa(teclaizquierda[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->doc->x, 2.0f);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->limpieza, 1);
    Frames(*b, 11);
    for (int j = 1; j <= 4; ++j) EXPECT_FALSE(b->celda(2, j).ficha);
    EXPECT_TRUE(b->celda(2, 0).ficha);
    EXPECT_EQ(b->fichas->Count(), 1u);
}

}  // namespace
}  // namespace virexo::testing

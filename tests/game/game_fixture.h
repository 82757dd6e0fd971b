// Shared set-up of the game-rule tests: fresh globals, a seeded generator,
// scripted boards, key presses and a count of the sounds the game played.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/board_invariants.h"
#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/game_io.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"

namespace virexo::testing {

enum Colour { kRed = 0, kGreen = 1, kBlue = 2, kCyan = 3, kMagenta = 4, kYellow = 5 };

// The elements of a list, in order.
template <class T>
std::vector<std::shared_ptr<T>> EnOrden(const kestrel::TList<T>& list) {
    std::vector<std::shared_ptr<T>> v;
    for (const auto& e : list) v.push_back(e);
    return v;
}

// Presses a key once, as the player would between two frames.
void Pulsa(int key);

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A board of 8 x 16 with its thrower at column `col` of row 15, filled
    // with `lineas` pushed rows.
    std::shared_ptr<_tablero> NuevoTablero(int lineas = 0, float col = 4.0f, int joy = 0);
    // Puts a piece directly into a cell (no mark), as if it had been there.
    std::shared_ptr<_ficha> Pon(_tablero& b, int i, int j, int colour, int bixo = 0);
    // Fills the hand of the board's thrower with n plain pieces of a colour.
    void DaEnMano(_tablero& b, int colour, int n);
    // Moves the thrower to a column at once (no glide).
    void Coloca(_tablero& b, int col);
    // Runs n frames of the board, checking the invariants after each.
    void Frames(_tablero& b, int n);

    int Sonidos(const TSoundPtr& global) const;
    void ExpectInvariantes(const _tablero& b);

    std::map<const TSoundPtr*, int> sonidos_;
};

}  // namespace virexo::testing

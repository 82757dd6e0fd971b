// Consistency checks of a board's state, for tests and long randomised runs:
// every piece of the board is in exactly one cell or in its thrower's hand,
// a piece's carrier is set exactly while carried, the virus count matches,
// marks sit only on filled cells, the hand is consistent and the thrower
// stands inside the grid.
#pragma once

#include <string>
#include <vector>

#include "game/game_types.h"

namespace virexo {

// Every violation found, one readable line each; empty when all hold.
std::vector<std::string> CompruebaInvariantes(const _tablero& tablero);

}  // namespace virexo

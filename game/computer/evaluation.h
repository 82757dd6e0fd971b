// How good a board is for the computer: viruses left weigh most, then how
// close the columns come to the loss line once the rows expected meanwhile
// are pushed in, then pieces on the board; a stronger computer also weighs
// how near each virus is to a group of four and how deep it lies buried.
#pragma once

#include "game/computer/grid.h"

namespace virexo::computer {

// The value of a board with no virus left: the game is won.
inline constexpr double kWon = 1e9;
// The value added when a column would reach the loss line.
inline constexpr double kLost = -1e8;

// `pushes` rows expected before the computer can act again; `readViruses`
// adds the terms about the viruses' neighbourhood.
double Evaluate(const Grid& grid, int pushes, bool readViruses);

}  // namespace virexo::computer

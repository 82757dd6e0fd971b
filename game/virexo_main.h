// The game's main program.
#pragma once

namespace virexo {

// Runs once (a flag guards it): initialises the toolkit modules in start-up
// order, then runs the game until it ends the program.
void VirexoMain();

}  // namespace virexo

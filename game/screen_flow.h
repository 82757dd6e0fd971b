// The screen state machine: one update per frame of the state named by
// estado, and the creation of a game.
#pragma once

#include <array>
#include <memory>

#include "game/game_types.h"

namespace virexo {

// The throwers and boards of the current or last game (two slots each; the
// second stays empty in a one-player game).
extern std::array<std::shared_ptr<_doc>, 2> docs;
extern std::array<std::shared_ptr<_tablero>, 2> tableros;

// Runs the update of the current state (the first of the state names
// that estado equals; any other name updates nothing).
void actualizaestado();

// Sets the difficulty, 0 easy to 2 hard, as the difficulty screen's F1, F2
// and F3 do, and moves on to creating the game.
void eligedificultad(int nivel);

// Plays on from the pause, as Space does there.
void reanudapartida();

// Back to the title with its music, as leaving the pause does.
void vuelvealtitulo();

// Creates the boards and throwers for jugadores players ("creapartida").
void creapartida();

}  // namespace virexo

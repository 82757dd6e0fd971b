// Texts the game writes on screen in the built-in 8 x 16 font, and the one
// message the title shows to the player (why an online game ended, say).
#pragma once

#include <string>
#include <vector>

#include "game/timer_layout.h"

namespace virexo {

// Lines centred on cx from y down, scale times the font's size, white on a
// half-transparent shadow; leaves the drawing state as the screens expect.
void dibujalineas(const std::vector<std::string>& lineas, float cx, float y, float escala);

// The box of the dark panel dibujalineas draws behind those lines (which
// holds their letters and shadows); empty (x1 <= x0) for no text.
CajaTiempo cajalineas(const std::vector<std::string>& lineas, float cx, float y, float escala);

// The title's message: shown while the title is up, until a game starts.
// Lines are separated by '\n'.
void ponaviso(const std::string& texto);
void quitaaviso();
const std::string& aviso();

// Draws the message, when there is one, low on the title.
void dibujaaviso();

}  // namespace virexo

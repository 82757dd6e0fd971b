// The game's main program, split into its start-up and one frame so that a
// harness can step it frame by frame.
#pragma once

#include <chrono>
#include <string>

namespace virexo {

// Everything before the first frame: registers the embedded files,
// initialises the toolkit, asks the full-screen question, opens the display,
// loads the assets, starts the menu music and builds the backdrop. Returns
// false, with the reason in *why, when no display can be opened.
bool arranca(std::string* why);

// When arranca's phases ended: the display open, the assets loaded, the
// backdrop built. Read by the start-up benchmark.
struct TiemposArranque {
    using Instante = std::chrono::steady_clock::time_point;
    Instante inicio, pantalla, recursos, fondo;
};
const TiemposArranque& tiemposarranque();

// Update of the current state and the complete redraw of one frame, into
// the back buffer.
void actualizaydibuja();

// One pass of the frame loop: actualizaydibuja, then Flip(1).
void fotogramajuego();

}  // namespace virexo

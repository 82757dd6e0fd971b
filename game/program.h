// The game's main program, split into its start-up and one frame so that a
// harness can step it frame by frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "game/frame_stats.h"

namespace virexo {

// Everything before the first frame: registers the embedded files,
// initialises the toolkit, asks the full-screen question, opens the display,
// loads the assets, starts the menu music and builds the backdrop. Returns
// false, with the reason in *why, when no display can be opened.
bool arranca(std::string* why);

// When arranca's phases ended: the question answered, the display open,
// the assets loaded, the backdrop built. Read by the start-up benchmark.
struct TiemposArranque {
    using Instante = std::chrono::steady_clock::time_point;
    Instante inicio, respuesta, pantalla, recursos, fondo;
};
const TiemposArranque& tiemposarranque();

// One game update (1/60 s of game time): the current state's update, the
// backdrop's motion and the frame counter.
void actualiza();

// The complete redraw of the current state into the back buffer; changes
// nothing but the picture (and the random draws made for looks).
void dibuja();

// One update and one redraw: a frame at a steady 60 a second.
void actualizaydibuja();

// One pass of the frame loop at wall time ahoraUs (µs of the steady clock):
// the game updates due since the last pass, fixed 1/60 s steps that keep
// game time to the wall clock (one at a steady 60 frames a second, up to six
// when frames come late), each seeing the input up to its own moment; then
// one redraw and Flip(1). Returns the updates run.
int fotogramajuego(std::int64_t ahoraUs);

// The same at the steady clock's now: the game's frame loop body.
void fotogramajuego();

// Forgets the frame loop's schedule (the next pass runs one update).
void reiniciareloj();

// Where fotogramajuego records each presented frame (null: nowhere).
void anotaestadisticas(EstadisticasFotogramas* estadisticas);

}  // namespace virexo

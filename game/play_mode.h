// Another way of running the game than by this machine's keys alone. While
// a mode is set it runs each game update in place of the screen state
// machine (calling actualizaestado when and as it sees fit) and draws over
// each frame. The online game is one.
#pragma once

#include <cstdint>
#include <memory>

#include "game/option_rows.h"

namespace virexo {

class ModoJuego {
public:
    virtual ~ModoJuego() = default;
    // One game update's worth (1/60 s).
    virtual void actualiza() = 0;
    // Draws over the screen of the current state.
    virtual void dibuja() = 0;
    // Once true, the mode is dropped after its update and the game is
    // offline again.
    virtual bool terminado() const = 0;
    // The lines of the title's and the difficulty screen's option lists
    // this machine's player can press. The versus game is offline only.
    virtual OpcionesVisibles opciones() const { return {kTodoTitulo & ~kFilaVersus, kTodaDificultad}; }
    // How many times the mode has corrected the past so far (the online
    // game's rollbacks): a frame whose updates raise it re-ran updates.
    virtual std::uint64_t correcciones() const { return 0; }
};

// Sets the mode (nullptr: none; the one before is dropped).
void ponmodo(std::unique_ptr<ModoJuego> modo);
ModoJuego* modoactual();

}  // namespace virexo

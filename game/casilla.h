// _casilla: one cell of a board's grid. It may hold one piece and carries the
// match mark the board's group check works with.
#pragma once

#include <memory>

#include "game/game_types.h"
#include "toolkit/core/object.h"

namespace virexo {

class _casilla : public kestrel::Object {
public:
    float x = 0.0f;  // pixel x relative to the board origin: column * 48
    float y = 0.0f;  // pixel y: row * 48
    std::shared_ptr<_ficha> ficha;
    int marcada = 0;  // 0 none, 1 waiting to be examined, 2 examined / pending clear
    // The board owns its cells, so the way back is a weak reference.
    std::weak_ptr<_tablero> tablero;

    // A cell for column x, row y of the board.
    static std::shared_ptr<_casilla> crea(float x, float y, const std::shared_ptr<_tablero>& tablero);
    // Empties the cell and drops its mark.
    int vacia();
};

}  // namespace virexo

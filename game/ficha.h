// _ficha: a single-cell piece, plain or virus, of one of six colours. It
// glides toward its target row, follows its thrower while carried, and a
// virus grows in and twitches now and then.
#pragma once

#include <memory>

#include "game/game_types.h"
#include "toolkit/core/object.h"

namespace virexo {

class _ficha : public kestrel::Object {
public:
    float x = 0.0f;   // pixel x relative to the board origin
    float y = 0.0f;   // current pixel y
    float dy = 0.0f;  // target pixel y
    int color = 0;    // 0..5
    int bixo = 0;     // 1 for a virus
    // The thrower carrying the piece (set exactly while carried) and the
    // board it belongs to. Both own the piece, so these point back weakly.
    std::weak_ptr<_doc> doc;
    std::weak_ptr<_tablero> tablero;
    float sx = 0.0f;  // horizontal drawing scale of a virus
    float sy = 0.0f;  // vertical drawing scale of a virus
    TImagePtr img;

    // A new random piece for column x, row y of the board; it starts one
    // screen height above its cell. Draws one random number (the colour).
    static std::shared_ptr<_ficha> crea(int x, int y, const std::shared_ptr<_tablero>& tablero);
    int actualiza();
    int dibuja();
    int dibujasombra();

    bool carried() const { return !doc.expired(); }
};

}  // namespace virexo

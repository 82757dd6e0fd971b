// _doc: the player's thrower. It walks the board's last row, picks up the
// lowest run of same-coloured plain pieces of the column above it (at most
// five in hand) and throws them back up under the lowest piece of a column.
#pragma once

#include <memory>

#include "game/game_types.h"
#include "toolkit/core/list.h"
#include "toolkit/core/object.h"

namespace virexo {

class _doc : public kestrel::Object {
public:
    static constexpr int kMaxEnMano = 5;

    float sx = 0.0f;   // drawn x relative to the board origin
    float sdx = 0.0f;  // target drawn x: x * 48
    float osx = 0.0f;  // sdx at the start of the frame
    float sy = 0.0f;   // drawn y: y * 48
    float x = 0.0f;    // column
    float ox = 0.0f;   // x at the start of the frame
    float y = 0.0f;    // row; never changes
    float t = 1.0f;    // facing, the horizontal drawing scale
    float td = 1.0f;   // target facing
    int color = -1;    // colour in hand, -1 when empty
    int fichas = 0;    // pieces in hand
    kestrel::TListPtr<_ficha> listafichas = kestrel::CreateList<_ficha>();  // most recent first
    // The board owns its thrower, so the way back is a weak reference.
    std::weak_ptr<_tablero> tablero;
    int puntos = 0;
    int joycont = 0;
    int joy = 0;  // player index: keys, virus counter, end-state name

    static std::shared_ptr<_doc> crea(int joy, float x, float y);
    int actualiza();
    int dibuja();
    int dibujasombra();

private:
    int filaDeMano(const _tablero& board) const;
    void recoge(_tablero& board);
    void lanza(_tablero& board);
};

}  // namespace virexo

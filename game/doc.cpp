#include "game/doc.h"

#include <algorithm>

#include "game/casilla.h"
#include "game/ficha.h"
#include "game/game_io.h"
#include "game/globals.h"
#include "game/player_keys.h"
#include "game/tablero.h"

namespace virexo {

std::shared_ptr<_doc> _doc::crea(int joy, float x, float y) {
    auto d = std::make_shared<_doc>();
    d->joy = joy;
    d->x = x;
    d->y = y;
    d->sx = x * 48.0f;
    d->sy = y * 48.0f;
    return d;
}

int _doc::actualiza() {
    auto board = tablero.lock();
    if (!board) return 0;

    t += (td - t) / 2.5f;
    ox = x;
    osx = sdx;

    // Keys and the player's pad alike (or, online, the update's agreed key
    // bits): a press is one step, and a held key, button or stick walks no
    // further.
    if (joycont == 0) {
        if (pulsaizquierda(joy)) {
            td = -1.0f;
            x -= 1.0f;
            joycont = 0;
            Suena(sndmover);
        }
        if (pulsaderecha(joy)) {
            td = 1.0f;
            x += 1.0f;
            joycont = 0;
            Suena(sndmover);
        }
    } else {
        joycont -= 1;
    }
    sdx = x * 48.0f;

    if (x < 0.0f || x > static_cast<float>(board->ancho - 1)) {
        x = ox;
        sdx = osx;
    }

    // The carried stack is shown in rows y-1 .. y-fichas of the thrower's
    // column: a move that would overlap pieces there is undone.
    const int col = static_cast<int>(x);
    const int mano = filaDeMano(*board);
    for (int r = mano; r > mano - fichas; --r) {
        if (!board->enRejilla(col, r)) continue;
        if (board->celda(col, r).ficha) {
            x = ox;
            sdx = osx;
        }
    }

    sx += (sdx - sx) / 2.0f;

    if (pulsaabajo(joy)) recoge(*board);
    const int throws = pulsaarriba(joy);
    if (throws && fichas > 0) lanza(*board);
    return 0;
}

// The row of the first piece in hand: the last row for pieces, just above
// the thrower's. The carried stack is shown from it up, the throw places
// nothing below it, and a push that reaches it ends the game.
int _doc::filaDeMano(const _tablero& board) const {
    return std::min(static_cast<int>(y) - 1, board.ultimaFila());
}

void _doc::recoge(_tablero& board) {
    Suena(sndrecoge);
    const int col = static_cast<int>(x);
    const int mano = filaDeMano(board);
    auto self = std::static_pointer_cast<_doc>(shared_from_this());
    for (int r = static_cast<int>(y) - 1; r >= 0; --r) {
        if (!board.enRejilla(col, r)) continue;
        _casilla& cell = board.celda(col, r);
        if (fichas < kMaxEnMano && cell.ficha) {
            auto p = cell.ficha;
            if ((color == -1 || p->color == color) && p->bixo == 0) {
                color = p->color;
                p->doc = self;
                p->dy = static_cast<float>((mano - fichas) * _tablero::kPaso);
                fichas += 1;
                listafichas->AddFirst(p);
                cell.vacia();
                continue;
            }
            break;
        }
    }
}

// Throws the hand into the column above: the most recently picked piece goes
// just below the column's lowest piece (row 0 onward in an empty column).
// Only pieces that land in an empty cell no lower than the board's last row
// for pieces (the row above the thrower's) are placed; the rest stay in hand,
// re-stacked, so no piece is ever lost, written outside the grid or left in
// the row the thrower walks. Rows pushed in while the hand is full can grow
// the column down into the carried stack; a throw then places what fits. A
// throw that can place nothing does nothing at all.
void _doc::lanza(_tablero& board) {
    const int col = static_cast<int>(x);
    const int ultima = filaDeMano(board);
    if (col < 0 || col >= board.ancho) return;

    int base = -1;  // row of the column's lowest piece, -1 for an empty column
    for (int r = ultima; r >= 0; --r) {
        if (board.celda(col, r).ficha) {
            base = r;
            break;
        }
    }
    int cabe = 0;
    while (cabe < fichas) {
        const int r = base + 1 + cabe;
        if (r > ultima || board.celda(col, r).ficha) break;
        ++cabe;
    }
    if (cabe == 0) return;

    Suena(sndlanza);
    board.temblor = static_cast<float>(cabe * 2);
    int k = 0;
    for (auto piece : *listafichas) {  // a copy: the body removes it from the list
        if (k == cabe) break;
        board.ponFicha(col, base + 1 + k, piece);
        listafichas->Remove(piece);
        ++k;
    }
    fichas -= cabe;
    if (fichas == 0) {
        color = -1;
    } else {
        // Re-stack what is left: the last piece in the list stands in row y-1.
        int i = 0;
        for (const auto& piece : *listafichas) {
            piece->dy = static_cast<float>((ultima + 1 - (fichas - i)) * _tablero::kPaso);
            ++i;
        }
    }
    board.comprueba();
}

}  // namespace virexo

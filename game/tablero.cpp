#include "game/tablero.h"

#include <algorithm>
#include <string>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/game_io.h"
#include "game/globals.h"

namespace virexo {

_tablero::_tablero() : lineacont(periodolinea) {}

std::shared_ptr<_tablero> _tablero::crea(float osx, float osy, int ancho, int alto,
                                         const std::shared_ptr<_doc>& doc) {
    auto b = std::make_shared<_tablero>();
    b->ancho = ancho;
    b->alto = alto;
    b->casilla.resize(static_cast<std::size_t>(ancho * alto));
    b->osx = osx;
    b->sx = osx;
    b->osy = osy;
    b->sy = osy;
    b->doc = doc;
    doc->tablero = b;
    for (int i = 0; i < ancho; ++i)
        for (int j = 0; j < alto; ++j)
            b->casilla[static_cast<std::size_t>(i * alto + j)] =
                _casilla::crea(static_cast<float>(i), static_cast<float>(j), b);
    const int filas = lineasiniciales;
    for (int n = 0; n < filas; ++n) b->ponlinea();
    return b;
}

// Removes a piece from the board entirely (list, virus count). The caller
// empties its cell.
void _tablero::quitaFicha(const std::shared_ptr<_ficha>& f) {
    if (f->bixo != 0) numbixos -= 1;
    fichas->Remove(f);
}

int _tablero::ponlinea() {
    auto self = std::static_pointer_cast<_tablero>(shared_from_this());

    // Every column moves down one row. Each source cell is emptied as its
    // piece moves, so a column with a gap cannot end up holding one piece
    // twice; a piece already in the last row that the column pushes out
    // leaves the board, so it cannot linger in the list without a cell.
    for (int j = alto - 2; j >= 0; --j) {
        for (int i = 0; i < ancho; ++i) {
            auto piece = celda(i, j).ficha;
            if (!piece) continue;
            if (auto debajo = celda(i, j + 1).ficha; debajo && debajo != piece) quitaFicha(debajo);
            ponFicha(i, j + 1, piece);
            celda(i, j).vacia();
        }
    }
    // Moved cells were marked for checking; a push never clears anything.
    descomprueba();

    for (int i = 0; i < ancho; ++i) {
        _casilla& c = celda(i, 0);
        c.vacia();
        auto f = _ficha::crea(i, 0, self);
        c.ficha = f;
        if (f->bixo != 0) numbixos += 1;
        fichas->AddLast(f);
    }

    if (ultimaFila() >= 0) {
        for (int i = 0; i < ancho; ++i) {
            if (celda(i, ultimaFila()).ficha) {
                finDePartida(false);
                break;
            }
        }
    }
    return 0;
}

int _tablero::ponFicha(int x, int y, const std::shared_ptr<_ficha>& ficha) {
    ficha->x = static_cast<float>(x * kPaso);
    ficha->dy = static_cast<float>(y * kPaso);
    ficha->doc.reset();
    _casilla& c = celda(x, y);
    c.marcada = 1;
    c.ficha = ficha;
    return 0;
}

// Flood fill from every cell marked 1 over 4-connected cells of the same
// colour. Four or more cells arm the clear. A failing check takes back only
// the marks it set itself: a group already waiting for its clear keeps its
// marks, so a later throw that forms nothing cannot cancel it.
int _tablero::comprueba() {
    int count = 0;
    int changed = 1;
    tocadas_.clear();
    while (changed == 1) {
        changed = 0;
        for (int i = 0; i < ancho; ++i) {
            for (int j = 0; j < alto; ++j) {
                _casilla& c = celda(i, j);
                if (c.marcada != 1) continue;
                c.marcada = 2;
                tocadas_.push_back(i * alto + j);
                const int colour = c.ficha->color;
                changed = 1;
                count += 1;
                const int vecinos[4][2] = {{i, j - 1}, {i, j + 1}, {i + 1, j}, {i - 1, j}};
                for (const auto& v : vecinos) {
                    const int vi = std::clamp(v[0], 0, ancho - 1);
                    const int vj = std::clamp(v[1], 0, alto - 1);
                    _casilla& n = celda(vi, vj);
                    if (n.ficha && n.ficha->color == colour && n.marcada == 0) {
                        n.marcada = 1;
                        changed = 1;
                    }
                }
            }
        }
    }
    if (count > 3) {
        limpia();
    } else {
        for (int idx : tocadas_) casilla[static_cast<std::size_t>(idx)]->marcada = 0;
    }
    return 0;
}

int _tablero::limpia() {
    limpieza = 1;
    limpiacont = kRetardoLimpia;
    return 0;
}

int _tablero::limpia2() {
    limpieza = 0;
    int n = 0;
    for (int i = 0; i < ancho; ++i) {
        for (int j = 0; j < alto; ++j) {
            _casilla& c = celda(i, j);
            if (c.marcada != 2) continue;
            auto f = c.ficha;
            n += 1;
            c.marcada = 0;
            if (f->bixo != 0) Suena(sndbixo);
            else Suena(sndpastilla);
            _explota::crea(f->x, f->y, f->img, sx);
            if (f->bixo != 0) {
                numbixos -= 1;
                if (numbixos == 0) finDePartida(true);
            }
            fichas->Remove(f);
            c.ficha.reset();
        }
    }
    temblor = static_cast<float>(n * 2);
    reagrupa();
    return 0;
}

// Closes gaps by moving pieces up, column by column, a whole run below a gap
// moving piece by piece. The moved pieces are then checked one by one on the
// settled grid, each on its own, so a group completed by the regroup arms a
// new clear (a chain link with its own delay) and no check sees a half-moved
// column.
int _tablero::reagrupa() {
    movidas_.clear();
    for (int i = 0; i < ancho; ++i) {
        for (int j = 1; j < alto; ++j) {
            if (!celda(i, j).ficha || celda(i, j - 1).ficha) continue;
            int destino = 0;
            for (int k = j - 1; k >= 0; --k) {
                if (celda(i, k).ficha) {
                    destino = k + 1;
                    break;
                }
            }
            ponFicha(i, destino, celda(i, j).ficha);
            celda(i, j).vacia();
            celda(i, destino).marcada = 0;
            movidas_.push_back(i * alto + destino);
        }
    }
    for (int idx : movidas_) {
        _casilla& c = *casilla[static_cast<std::size_t>(idx)];
        if (!c.ficha || c.marcada != 0) continue;  // already part of a group found here
        c.marcada = 1;
        comprueba();
    }
    marcasSueltasFuera();
    return 0;
}

// Drops every mark except those of a group waiting for its clear.
void _tablero::marcasSueltasFuera() {
    for (auto& c : casilla)
        if (c->marcada == 1 || (c->marcada == 2 && limpieza == 0)) c->marcada = 0;
}

int _tablero::descomprueba() {
    for (auto& c : casilla) c->marcada = 0;
    return 0;
}

int _tablero::actualiza() {
    if (limpieza == 1) {
        if (limpiacont > 0) limpiacont -= 1;
        else limpia2();
    } else {
        if (lineacont > 0) {
            lineacont -= 1;
        } else {
            ponlinea();
            lineacont = periodolinea;
        }
    }
    if (doc) doc->actualiza();
    for (const auto& f : *fichas) f->actualiza();
    temblor += (0.0f - temblor) / 10.0f;
    sx = osx + temblor * temblorsigno;
    temblorsigno = -temblorsigno;
    return 0;
}

void _tablero::finDePartida(bool ganada) {
    estado = "fin" + std::to_string(jugadores) + std::to_string(doc ? doc->joy : 0) +
             (ganada ? "b" : "");
    ParaCanal(canalmusica);
    canalmusica = Suena(sndgameover);
    VolumenCanal(canalmusica, 1.0f);
    Suena(sndfallo);
}

}  // namespace virexo

#include "game/board_invariants.h"

#include <unordered_map>
#include <sstream>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/tablero.h"

namespace virexo {

namespace {

std::string Where(int i, int j) {
    std::ostringstream o;
    o << "cell [" << i << ", " << j << "]";
    return o.str();
}

}  // namespace

std::vector<std::string> CompruebaInvariantes(const _tablero& b) {
    std::vector<std::string> out;
    auto fail = [&](const std::string& s) { out.push_back(s); };

    if (b.ancho <= 0 || b.alto <= 0 ||
        b.casilla.size() != static_cast<std::size_t>(b.ancho * b.alto)) {
        fail("grid size does not match ancho x alto");
        return out;
    }

    // Where each piece is: number of cells holding it, and whether in hand.
    std::unordered_map<const _ficha*, int> enCelda;
    std::unordered_map<const _ficha*, int> enMano;
    std::unordered_map<const _ficha*, int> enLista;
    enCelda.reserve(b.fichas->Count());
    enLista.reserve(b.fichas->Count());
    for (const auto& f : *b.fichas) enLista[f.get()] += 1;

    int virus = 0;
    for (int i = 0; i < b.ancho; ++i) {
        for (int j = 0; j < b.alto; ++j) {
            const _casilla& c = b.celda(i, j);
            if (c.marcada != 0 && !c.ficha) fail(Where(i, j) + " is marked but empty");
            if (c.marcada < 0 || c.marcada > 2) fail(Where(i, j) + " has an unknown mark");
            if (!c.ficha) continue;
            enCelda[c.ficha.get()] += 1;
            if (c.ficha->bixo != 0) ++virus;
            if (!enLista.count(c.ficha.get())) fail(Where(i, j) + " holds a piece not on the board's list");
            if (c.ficha->carried()) fail(Where(i, j) + " holds a piece that names a carrier");
            if (c.ficha->x != static_cast<float>(i * _tablero::kPaso) ||
                c.ficha->dy != static_cast<float>(j * _tablero::kPaso))
                fail(Where(i, j) + " holds a piece whose column or target row is another cell's");
        }
    }
    if (virus != b.numbixos) {
        std::ostringstream o;
        o << "numbixos is " << b.numbixos << " but the grid holds " << virus << " viruses";
        fail(o.str());
    }

    if (b.doc) {
        const _doc& d = *b.doc;
        if (d.x < 0.0f || d.x > static_cast<float>(b.ancho - 1) ||
            d.x != static_cast<float>(static_cast<int>(d.x)))
            fail("the thrower's column is outside the grid or not whole");
        if (d.fichas != static_cast<int>(d.listafichas->Count()))
            fail("the thrower's count differs from its carried list");
        if (d.fichas < 0 || d.fichas > _doc::kMaxEnMano) fail("the thrower carries more than five");
        if ((d.fichas == 0) != (d.color == -1)) fail("the thrower's colour does not match its hand");
        for (const auto& f : *d.listafichas) {
            enMano[f.get()] += 1;
            if (!enLista.count(f.get())) fail("a carried piece is not on the board's list");
            if (f->doc.lock().get() != &d) fail("a carried piece does not name its carrier");
            if (f->color != d.color) fail("a carried piece differs from the hand's colour");
            if (f->bixo != 0) fail("a virus is carried");
        }
    }

    for (const auto& [f, n] : enLista) {
        const int cells = enCelda.count(f) ? enCelda[f] : 0;
        const int hand = enMano.count(f) ? enMano[f] : 0;
        if (n != 1) fail("a piece is on the board's list more than once");
        if (cells + hand != 1) {
            std::ostringstream o;
            o << "a piece is in " << cells << " cells and " << hand << " hands";
            fail(o.str());
        }
        if (hand == 0 && f->carried()) fail("a piece in a cell names a carrier");
    }
    return out;
}

}  // namespace virexo

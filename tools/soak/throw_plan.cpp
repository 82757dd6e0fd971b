#include "tools/soak/throw_plan.h"

#include <algorithm>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/tablero.h"

namespace virexo::soak {

GridView::GridView(const _tablero& board)
    : ancho_(board.ancho), alto_(board.alto), fila_(static_cast<int>(board.doc ? board.doc->y : 0.0f)),
      cells_(static_cast<std::size_t>(board.ancho * board.alto)) {
    for (int i = 0; i < ancho_; ++i)
        for (int j = 0; j < alto_; ++j)
            if (const auto& f = board.celda(i, j).ficha)
                cells_[Index(i, j)] = {f->color, f->bixo != 0, board.celda(i, j).marcada != 0};
}

int GridView::Bottom(int i) const {
    for (int r = std::min(fila_ - 1, alto_ - 1); r >= 0; --r)
        if (colour(i, r) >= 0) return r;
    return -1;
}

int GridView::RunColour(int i) const {
    const int b = Bottom(i);
    if (b < 0 || virus(i, b) || pending(i, b)) return -1;
    return colour(i, b);
}

int GridView::RunLength(int i, int limit) const {
    const int c = RunColour(i);
    if (c < 0) return 0;
    int n = 0;
    for (int r = Bottom(i); r >= 0 && n < limit; --r) {
        if (colour(i, r) < 0) continue;  // a pick-up skips gaps, as the thrower does
        if (colour(i, r) != c || virus(i, r) || pending(i, r)) break;
        ++n;
    }
    return n;
}

int GridView::ThrowValue(int i, int c, int n) const {
    const int base = Bottom(i);
    std::vector<Cell> cells = cells_;
    std::vector<int> placed;
    for (int k = 0; k < n; ++k) {
        const int r = base + 1 + k;
        if (r > alto_ - 1 || cells[Index(i, r)].colour >= 0) break;
        cells[Index(i, r)] = {c, false, false};
        placed.push_back(Index(i, r));
    }
    if (placed.empty()) return -1000;

    // The group of colour c the placed pieces join (four-way connected).
    std::vector<char> seen(cells.size(), 0);
    std::vector<int> todo = placed;
    for (int p : placed) seen[static_cast<std::size_t>(p)] = 1;
    int size = 0, viruses = 0;
    while (!todo.empty()) {
        const int p = todo.back();
        todo.pop_back();
        ++size;
        if (cells[static_cast<std::size_t>(p)].virus) ++viruses;
        const int pi = p / alto_, pj = p % alto_;
        const int next[4][2] = {{pi - 1, pj}, {pi + 1, pj}, {pi, pj - 1}, {pi, pj + 1}};
        for (const auto& q : next) {
            if (q[0] < 0 || q[0] >= ancho_ || q[1] < 0 || q[1] >= alto_) continue;
            const int idx = Index(q[0], q[1]);
            if (seen[static_cast<std::size_t>(idx)] || cells[static_cast<std::size_t>(idx)].colour != c) continue;
            seen[static_cast<std::size_t>(idx)] = 1;
            todo.push_back(idx);
        }
    }
    if (size >= 4) return 1000 + 300 * viruses + size;
    // Otherwise: bigger groups and groups with viruses are closer to a
    // clear; shallow columns keep the board away from the loss line.
    const int newBottom = base + static_cast<int>(placed.size());
    int value = 20 * size + 40 * viruses - 8 * newBottom;
    if (newBottom >= alto_ - 4) value -= 400;  // a push or two from the loss line
    return value;
}

GridView GridView::WithoutRun(int i, int n) const {
    GridView v = *this;
    for (int r = Bottom(i); r >= 0 && n > 0; --r) {
        if (v.colour(i, r) < 0) continue;
        v.cells_[Index(i, r)] = {};
        --n;
    }
    return v;
}

}  // namespace virexo::soak

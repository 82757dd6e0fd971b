// The guided soak player's view of a board: a snapshot of the grid and the
// value of throwing a hand into a column or picking a column's run up.
#pragma once

#include <vector>

#include "game/game_types.h"

namespace virexo::soak {

class GridView {
public:
    explicit GridView(const _tablero& board);

    int columns() const { return ancho_; }
    int rows() const { return alto_; }
    int colour(int i, int j) const { return cells_[Index(i, j)].colour; }  // -1 when empty
    bool virus(int i, int j) const { return cells_[Index(i, j)].virus; }
    // Marked by the board's group check: about to be cleared.
    bool pending(int i, int j) const { return cells_[Index(i, j)].pending; }

    // Row of the lowest piece of column i above the thrower's row, -1 for
    // an empty column (as a throw looks for it).
    int Bottom(int i) const;

    // The plain run at the bottom of column i that a pick-up takes: its
    // colour (-1 when the bottom piece is a virus, about to be cleared, or
    // the column is empty) and its length, at most `limit`. Pieces about to
    // be cleared are left alone: taking them back would undo the clear.
    int RunColour(int i) const;
    int RunLength(int i, int limit) const;

    // The value of throwing n pieces of colour c into column i: large when
    // the throw completes a group of four or more (more with viruses in
    // it), small for growing a group, negative for a throw that places
    // nothing or brings the column next to the loss line.
    int ThrowValue(int i, int c, int n) const;

    // The same board after the run at the bottom of column i is taken.
    GridView WithoutRun(int i, int n) const;

private:
    struct Cell {
        int colour = -1;
        bool virus = false;
        bool pending = false;
    };
    int Index(int i, int j) const { return i * alto_ + j; }

    int ancho_ = 0;
    int alto_ = 0;
    int fila_ = 0;  // the thrower's row
    std::vector<Cell> cells_;
};

}  // namespace virexo::soak

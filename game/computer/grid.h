// The computer's model of a board: the colours of its cells and the rules
// that act on them when its thrower picks up and throws (the same rules as
// the board's: the run a pick-up takes, where a throw lands, groups of four
// or more cleared, gaps closed upward and the chains that follow). Rows
// pushed in are not modelled: nobody knows what they bring.
#pragma once

#include <array>
#include <cstdint>

namespace virexo::computer {

inline constexpr int kColumns = 8;
inline constexpr int kRows = 16;
inline constexpr int kThrowerRow = kRows - 1;
inline constexpr int kHandMax = 5;

// What the thrower carries: a colour (-1 for none) and how many pieces.
struct Hand {
    int colour = -1;
    int count = 0;
};

// What a throw brought about once every clear and chain has run.
struct Outcome {
    int placed = 0;   // pieces that left the hand
    int cleared = 0;  // cells cleared, viruses included
    int viruses = 0;  // viruses among them
    int links = 0;    // clears in a row (1: the throw's own group; 2 and more: chains)
};

class Grid {
public:
    static constexpr std::int8_t kEmpty = -1;
    static constexpr std::int8_t kVirus = 8;  // added to the colour of a virus

    Grid() { cells_.fill(kEmpty); }

    void Set(int col, int row, int colour, bool virus) {
        cells_[Index(col, row)] = static_cast<std::int8_t>(colour + (virus ? kVirus : 0));
    }
    void Clear(int col, int row) { cells_[Index(col, row)] = kEmpty; }
    bool Empty(int col, int row) const { return cells_[Index(col, row)] == kEmpty; }
    // Colour 0..5 of a cell, -1 when it is empty.
    int Colour(int col, int row) const {
        const int v = cells_[Index(col, row)];
        return v < 0 ? -1 : (v & 7);
    }
    bool Virus(int col, int row) const { return cells_[Index(col, row)] >= kVirus; }

    // Row of the lowest piece of a column, looked for as a throw does
    // (from the row above the thrower up); -1 for an empty column.
    int Bottom(int col) const;
    // Rows down to the lowest piece: Bottom + 1.
    int Height(int col) const { return Bottom(col) + 1; }
    int Viruses() const;
    int Pieces() const;

    // The plain run of one colour at the bottom of a column that a pick-up
    // with this hand would take: its colour (-1: nothing to take) and length.
    int RunColour(int col, const Hand& hand) const;
    int RunLength(int col, const Hand& hand) const;

    // The thrower's pick-up under a column: the run taken into the hand.
    // Returns the pieces taken.
    int PickUp(int col, Hand& hand);

    // The thrower's throw into a column, then every clear it brings about,
    // chains included, as the board runs them.
    Outcome Throw(int col, Hand& hand);

    // Whether a thrower carrying `carry` pieces may stand under the column
    // (the carried stack must not overlap its pieces), and walk from one
    // column to another.
    bool Walkable(int col, int carry) const;
    bool PathClear(int from, int to, int carry) const;

    std::uint64_t Signature() const;
    bool operator==(const Grid& o) const { return cells_ == o.cells_; }

private:
    static int Index(int col, int row) { return col * kRows + row; }
    // Marks in `group` the cells of one colour joined to the seeds; returns
    // how many there are.
    int Region(const int* seeds, int n, std::array<std::uint8_t, kColumns * kRows>& group) const;
    // Removes the marked cells, closes the gaps upward and returns the cells
    // that moved (their new places) in `moved`.
    int ClearAndRegroup(const std::array<std::uint8_t, kColumns * kRows>& group, Outcome& out,
                        std::array<int, kColumns * kRows>& moved);

    std::array<std::int8_t, kColumns * kRows> cells_;
};

}  // namespace virexo::computer

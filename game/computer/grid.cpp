#include "game/computer/grid.h"

#include <algorithm>

namespace virexo::computer {

namespace {
using Marks = std::array<std::uint8_t, kColumns * kRows>;
}

int Grid::Bottom(int col) const {
    for (int r = kRows - 2; r >= 0; --r)
        if (!Empty(col, r)) return r;
    return -1;
}

int Grid::Viruses() const {
    int n = 0;
    for (std::int8_t v : cells_) n += v >= kVirus ? 1 : 0;
    return n;
}

int Grid::Pieces() const {
    int n = 0;
    for (std::int8_t v : cells_) n += v != kEmpty ? 1 : 0;
    return n;
}

// The pick-up scans from the row above the thrower upward, passes empty
// cells, and takes plain pieces of the hand's colour (any colour into an
// empty hand) until another colour, a virus or a full hand.
int Grid::RunColour(int col, const Hand& hand) const {
    if (hand.count >= kHandMax) return -1;
    const int b = Bottom(col);
    if (b < 0 || Virus(col, b)) return -1;
    const int c = Colour(col, b);
    if (hand.colour >= 0 && c != hand.colour) return -1;
    return c;
}

int Grid::RunLength(int col, const Hand& hand) const {
    const int c = RunColour(col, hand);
    if (c < 0) return 0;
    int n = 0;
    for (int r = Bottom(col); r >= 0 && hand.count + n < kHandMax; --r) {
        if (Empty(col, r)) continue;
        if (Virus(col, r) || Colour(col, r) != c) break;
        ++n;
    }
    return n;
}

int Grid::PickUp(int col, Hand& hand) {
    const int c = RunColour(col, hand);
    if (c < 0) return 0;
    int n = 0;
    for (int r = Bottom(col); r >= 0 && hand.count < kHandMax; --r) {
        if (Empty(col, r)) continue;
        if (Virus(col, r) || Colour(col, r) != c) break;
        Clear(col, r);
        hand.colour = c;
        hand.count += 1;
        ++n;
    }
    return n;
}

bool Grid::Walkable(int col, int carry) const {
    if (col < 0 || col >= kColumns) return false;
    for (int r = kThrowerRow - 1; r >= kThrowerRow - carry && r >= 0; --r)
        if (!Empty(col, r)) return false;
    return true;
}

bool Grid::PathClear(int from, int to, int carry) const {
    const int step = to > from ? 1 : -1;
    for (int c = from; c != to;) {
        c += step;
        if (!Walkable(c, carry)) return false;
    }
    return true;
}

std::uint64_t Grid::Signature() const {
    std::uint64_t h = 1469598103934665603ull;
    for (std::int8_t v : cells_) {
        h ^= static_cast<std::uint8_t>(v);
        h *= 1099511628211ull;
    }
    return h;
}

int Grid::Region(const int* seeds, int n, Marks& group) const {
    int stack[kColumns * kRows];
    int top = 0, count = 0;
    for (int s = 0; s < n; ++s) {
        if (group[seeds[s]]) continue;
        group[seeds[s]] = 1;
        stack[top++] = seeds[s];
        ++count;
    }
    while (top > 0) {
        const int idx = stack[--top];
        const int col = idx / kRows, row = idx % kRows;
        const int colour = cells_[idx] & 7;
        const int next[4][2] = {{col, row - 1}, {col, row + 1}, {col + 1, row}, {col - 1, row}};
        for (const auto& v : next) {
            if (v[0] < 0 || v[0] >= kColumns || v[1] < 0 || v[1] >= kRows) continue;
            const int j = Index(v[0], v[1]);
            if (group[j] || cells_[j] == kEmpty || (cells_[j] & 7) != colour) continue;
            group[j] = 1;
            stack[top++] = j;
            ++count;
        }
    }
    return count;
}

int Grid::ClearAndRegroup(const Marks& group, Outcome& out, std::array<int, kColumns * kRows>& moved) {
    for (int i = 0; i < kColumns * kRows; ++i) {
        if (!group[i]) continue;
        out.cleared += 1;
        if (cells_[i] >= kVirus) out.viruses += 1;
        cells_[i] = kEmpty;
    }
    out.links += 1;
    int nMoved = 0;
    for (int col = 0; col < kColumns; ++col) {
        int dest = 0;
        for (int row = 0; row < kRows; ++row) {
            const int i = Index(col, row);
            if (cells_[i] == kEmpty) continue;
            if (row != dest) {
                cells_[Index(col, dest)] = cells_[i];
                cells_[i] = kEmpty;
                moved[nMoved++] = Index(col, dest);
            }
            ++dest;
        }
    }
    return nMoved;
}

Outcome Grid::Throw(int col, Hand& hand) {
    Outcome out;
    if (hand.count <= 0 || col < 0 || col >= kColumns) return out;
    const int base = Bottom(col);
    int placed[kHandMax];
    while (out.placed < hand.count) {
        const int r = base + 1 + out.placed;
        if (r > kRows - 1 || !Empty(col, r)) break;
        Set(col, r, hand.colour, false);
        placed[out.placed] = Index(col, r);
        ++out.placed;
    }
    if (out.placed == 0) return out;
    hand.count -= out.placed;
    if (hand.count == 0) hand.colour = -1;

    Marks group{};
    if (Region(placed, out.placed, group) < 4) return out;
    std::array<int, kColumns * kRows> moved;
    // Each clear closes its gaps; every piece that moved is checked on the
    // settled grid, and the groups found clear together as the next link.
    for (;;) {
        const int nMoved = ClearAndRegroup(group, out, moved);
        group.fill(0);
        bool any = false;
        for (int m = 0; m < nMoved; ++m) {
            if (group[moved[m]]) continue;
            Marks trial = group;
            if (Region(&moved[m], 1, trial) >= 4) {
                group = trial;
                any = true;
            }
        }
        if (!any) break;
    }
    return out;
}

}  // namespace virexo::computer

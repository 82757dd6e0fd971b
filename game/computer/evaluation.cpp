#include "game/computer/evaluation.h"

#include <array>

namespace virexo::computer {

namespace {

// Sizes of the one-colour regions, cell by cell (0 for an empty cell): one
// pass joining each piece to the piece above and the piece to its left.
void RegionSizes(const Grid& g, std::array<int, kColumns * kRows>& size) {
    std::array<int, kColumns * kRows> parent;
    auto root = [&](int i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    auto join = [&](int a, int b) {
        a = root(a);
        b = root(b);
        if (a != b) parent[b] = a;
    };
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int i = c * kRows + r;
            parent[i] = i;
            const int colour = g.Colour(c, r);
            if (colour < 0) continue;
            if (r > 0 && g.Colour(c, r - 1) == colour) join(i - 1, i);
            if (c > 0 && g.Colour(c - 1, r) == colour) join(i - kRows, i);
        }
    }
    size.fill(0);
    for (int i = 0; i < kColumns * kRows; ++i)
        if (!g.Empty(i / kRows, i % kRows)) size[root(i)] += 1;
    for (int i = 0; i < kColumns * kRows; ++i)
        if (!g.Empty(i / kRows, i % kRows)) size[i] = size[root(i)];
}

}  // namespace

double Evaluate(const Grid& g, int pushes, bool readViruses) {
    const int viruses = g.Viruses();
    if (viruses == 0) return kWon;
    double s = -1000.0 * viruses - 8.0 * g.Pieces();
    int height[kColumns];
    for (int c = 0; c < kColumns; ++c) {
        height[c] = g.Height(c);
        const int h = height[c] + pushes;
        // A push that brings a piece into the row above the thrower loses.
        if (h >= kThrowerRow) s += kLost;
        s -= 1.0 * h * h;
        if (h >= 10) s -= 60.0 * (h - 9) * (h - 9);
    }
    if (!readViruses) return s;

    std::array<int, kColumns * kRows> size;
    RegionSizes(g, size);
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < height[c]; ++r) {
            if (g.Empty(c, r)) continue;
            const int sz = size[c * kRows + r];
            if (g.Virus(c, r)) {
                const int colour = g.Colour(c, r);
                // Pieces between the virus and the thrower that are not of
                // its colour must go before a throw can reach it, and each
                // run of them is a move.
                int cover = 0, runs = 0, last = -2;
                for (int k = r + 1; k < height[c]; ++k) {
                    const int kc = g.Colour(c, k);
                    if (kc == colour) continue;
                    ++cover;
                    if (kc != last || g.Virus(c, k)) ++runs;
                    last = kc;
                }
                const int need = sz >= 4 ? 0 : 4 - sz;
                s -= 60.0 * need + 45.0 * runs + 6.0 * cover;
            } else if (sz == 2 || sz == 3) {
                // Half-built groups of plain pieces: the makings of a clear.
                s += 3.0 * (sz - 1);
            }
        }
    }
    return s;
}

}  // namespace virexo::computer

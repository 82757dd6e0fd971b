#include "game/computer/evaluation.h"

#include <array>

namespace virexo::computer {

namespace {

// Sizes of the one-colour regions, cell by cell (0 for an empty cell).
void RegionSizes(const Grid& g, std::array<int, kColumns * kRows>& size) {
    std::array<int, kColumns * kRows> label;
    label.fill(-1);
    size.fill(0);
    int stack[kColumns * kRows];
    int members[kColumns * kRows];
    for (int start = 0; start < kColumns * kRows; ++start) {
        const int sc = start / kRows, sr = start % kRows;
        if (label[start] >= 0 || g.Empty(sc, sr)) continue;
        const int colour = g.Colour(sc, sr);
        int top = 0, n = 0;
        stack[top++] = start;
        label[start] = start;
        while (top > 0) {
            const int idx = stack[--top];
            members[n++] = idx;
            const int c = idx / kRows, r = idx % kRows;
            const int next[4][2] = {{c, r - 1}, {c, r + 1}, {c + 1, r}, {c - 1, r}};
            for (const auto& v : next) {
                if (v[0] < 0 || v[0] >= kColumns || v[1] < 0 || v[1] >= kRows) continue;
                const int j = v[0] * kRows + v[1];
                if (label[j] >= 0 || g.Colour(v[0], v[1]) != colour) continue;
                label[j] = start;
                stack[top++] = j;
            }
        }
        for (int m = 0; m < n; ++m) size[members[m]] = n;
    }
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

#include "tools/soak/board_player.h"

#include <algorithm>
#include <cstdlib>

#include "game/doc.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "tools/soak/throw_plan.h"

namespace virexo::soak {

namespace {

// Distance costs: a far target is worth a little less than a near one.
constexpr int kStepCost = 3;

bool Chance(std::mt19937& keys, unsigned inN) { return keys() % inN == 0; }

}  // namespace

const char* StyleName(Style style) {
    switch (style) {
        case Style::Guided: return "guided";
        case Style::Random: return "random";
        case Style::Stacker: return "stacking";
        case Style::Idle: return "idle";
    }
    return "?";
}

void BoardPlayer::NewGame(Style style, int pileColumn) {
    style_ = style;
    pile_ = pileColumn;
    lastKey_ = -1;
    lastX_ = -1.0f;
    stuck_ = 0;
}

int BoardPlayer::RandomKey(const _doc& doc, std::mt19937& keys) const {
    const int joy = doc.joy;
    // Throws are rarer than moves and pick-ups, so hands stay full for a
    // while and rows are pushed in under them.
    const unsigned r = keys() % 20;
    if (r < 7) return teclaizquierda[joy];
    if (r < 14) return tecladerecha[joy];
    if (r < 18) return teclaabajo[joy];
    return teclaarriba[joy];
}

int BoardPlayer::NextKey(const _tablero& board, std::mt19937& keys) {
    if (!board.doc) return -1;
    const _doc& doc = *board.doc;
    int key = -1;
    switch (style_) {
        case Style::Guided:
            key = Chance(keys, 40) ? RandomKey(doc, keys) : GuidedKey(board, keys);
            break;
        case Style::Stacker:
            if (!Chance(keys, 4)) key = Chance(keys, 30) ? RandomKey(doc, keys) : StackerKey(board, keys);
            break;
        case Style::Random:
            if (Chance(keys, 3)) key = RandomKey(doc, keys);
            break;
        case Style::Idle:
            if (Chance(keys, 400)) key = RandomKey(doc, keys);
            break;
    }
    if (key >= 0) {
        const bool moved = lastKey_ == teclaizquierda[doc.joy] || lastKey_ == tecladerecha[doc.joy];
        stuck_ = moved && doc.x == lastX_ ? stuck_ + 1 : 0;
        lastKey_ = key;
        lastX_ = doc.x;
    }
    return key;
}

int BoardPlayer::StackerKey(const _tablero& board, std::mt19937& keys) {
    const _doc& doc = *board.doc;
    const int joy = doc.joy;
    const int x = static_cast<int>(doc.x);
    const int pile = std::clamp(pile_, 0, board.ancho - 1);
    if (stuck_ >= 2) {
        stuck_ = 0;
        return doc.fichas > 0 ? teclaarriba[joy] : (Chance(keys, 2) ? teclaizquierda[joy] : tecladerecha[joy]);
    }
    if (doc.fichas > 0) {
        if (x != pile) return x < pile ? tecladerecha[joy] : teclaizquierda[joy];
        return teclaarriba[joy];
    }
    // An empty hand: the nearest other column with a plain piece at the bottom.
    const GridView grid(board);
    int best = -1;
    for (int j = 0; j < grid.columns(); ++j)
        if (j != pile && grid.RunColour(j) >= 0 && (best < 0 || std::abs(j - x) < std::abs(best - x))) best = j;
    if (best < 0) return Chance(keys, 2) ? teclaizquierda[joy] : tecladerecha[joy];
    if (best == x) return teclaabajo[joy];
    return best < x ? teclaizquierda[joy] : tecladerecha[joy];
}

int BoardPlayer::GuidedKey(const _tablero& board, std::mt19937& keys) {
    const _doc& doc = *board.doc;
    const int joy = doc.joy;
    const int x = static_cast<int>(doc.x);
    const GridView grid(board);
    auto toward = [&](int target) {
        if (target < x) return teclaizquierda[joy];
        if (target > x) return tecladerecha[joy];
        return -1;
    };

    if (doc.fichas == 0) {
        // Pick up the run whose best throw elsewhere is worth most.
        int best = -1, bestValue = -1000000;
        for (int j = 0; j < grid.columns(); ++j) {
            const int c = grid.RunColour(j);
            if (c < 0) continue;
            const int n = grid.RunLength(j, _doc::kMaxEnMano);
            const GridView after = grid.WithoutRun(j, n);
            for (int k = 0; k < grid.columns(); ++k) {
                if (k == j) continue;
                const int v = after.ThrowValue(k, c, n) - kStepCost * (std::abs(x - j) + std::abs(j - k));
                if (v > bestValue) {
                    bestValue = v;
                    best = j;
                }
            }
        }
        if (best < 0 || stuck_ >= 2) {
            stuck_ = 0;
            return Chance(keys, 2) ? teclaizquierda[joy] : tecladerecha[joy];
        }
        if (best == x) return teclaabajo[joy];
        return toward(best);
    }

    // Holding pieces: throw them where they are worth most.
    int best = -1, bestValue = -1000000;
    for (int k = 0; k < grid.columns(); ++k) {
        const int v = grid.ThrowValue(k, doc.color, doc.fichas) - kStepCost * std::abs(x - k);
        if (v > bestValue) {
            bestValue = v;
            best = k;
        }
    }
    // Walled in by deep columns on the way: throw here, or turn round.
    if (stuck_ >= 2) {
        stuck_ = 0;
        if (grid.ThrowValue(x, doc.color, doc.fichas) > -1000) return teclaarriba[joy];
        return Chance(keys, 2) ? teclaizquierda[joy] : tecladerecha[joy];
    }
    if (best != x) return toward(best);
    // At the target: a small hand that would not complete a group gathers
    // more of its colour from here first.
    if (bestValue < 1000 && doc.fichas < _doc::kMaxEnMano && grid.RunColour(x) == doc.color)
        return teclaabajo[joy];
    return teclaarriba[joy];
}

}  // namespace virexo::soak

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
    pickedFrom_ = -1;
    planColumn_ = -1;
    waited_ = 0;
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

void BoardPlayer::Plan(const _tablero& board) {
    const _doc& doc = *board.doc;
    const int x = static_cast<int>(doc.x);
    const GridView grid(board);
    planColumn_ = -1;
    planAge_ = 0;

    // The value of picking up the run of column j (adding it to a hand of
    // `held` pieces of its colour) and throwing the whole hand into the best
    // other column.
    auto pickValue = [&](int j, int held) {
        const int c = grid.RunColour(j);
        const int n = grid.RunLength(j, _doc::kMaxEnMano - held);
        const GridView after = grid.WithoutRun(j, n);
        // Uncovering a virus is worth something by itself.
        const int b = after.Bottom(j);
        const int uncover = b >= 0 && after.virus(j, b) ? 150 : 0;
        int best = -1000000;
        for (int k = 0; k < grid.columns(); ++k)
            if (k != j)
                best = std::max(best, after.ThrowValue(k, c, held + n) + uncover -
                                          kStepCost * (std::abs(x - j) + std::abs(j - k)));
        // Or gather a second run of the colour first, then throw.
        if (held + n < _doc::kMaxEnMano)
            for (int j2 = 0; j2 < grid.columns(); ++j2) {
                if (j2 == j || after.RunColour(j2) != c) continue;
                const int n2 = after.RunLength(j2, _doc::kMaxEnMano - held - n);
                const GridView both = after.WithoutRun(j2, n2);
                for (int k = 0; k < grid.columns(); ++k)
                    if (k != j && k != j2)
                        best = std::max(best, both.ThrowValue(k, c, held + n + n2) + uncover - 10 -
                                                  kStepCost * (std::abs(x - j) + std::abs(j - j2) + std::abs(j2 - k)));
            }
        return best;
    };

    int bestValue = -1000000;
    if (doc.fichas == 0) {
        pickedFrom_ = -1;
        // Pick up the run whose best throw elsewhere is worth most.
        for (int j = 0; j < grid.columns(); ++j) {
            if (grid.RunColour(j) < 0) continue;
            if (const int v = pickValue(j, 0); v > bestValue) {
                bestValue = v;
                planColumn_ = j;
                planPick_ = true;
            }
        }
        // Nothing to clear yet: wait a while for the rows pushed in to
        // bring something, rather than deepen the columns.
        if (bestValue < 1000 && ++waited_ < 400) planColumn_ = -1;
        else waited_ = 0;
        return;
    }
    // Holding pieces: throw them where they are worth most, or first gather
    // more of their colour where that is worth more. Putting them back where
    // they came from only undoes the pick-up, unless that clears a group.
    for (int k = 0; k < grid.columns(); ++k) {
        int v = grid.ThrowValue(k, doc.color, doc.fichas) - kStepCost * std::abs(x - k);
        if (k == pickedFrom_ && v < 1000 - kStepCost * grid.columns()) v -= 500;
        if (v > bestValue) {
            bestValue = v;
            planColumn_ = k;
            planPick_ = false;
        }
    }
    if (bestValue < 1000 && doc.fichas < _doc::kMaxEnMano) {
        for (int j = 0; j < grid.columns(); ++j) {
            if (grid.RunColour(j) != doc.color) continue;
            if (const int v = pickValue(j, doc.fichas) - 5; v > bestValue) {
                bestValue = v;
                planColumn_ = j;
                planPick_ = true;
            }
        }
    }
}

int BoardPlayer::GuidedKey(const _tablero& board, std::mt19937& keys) {
    const _doc& doc = *board.doc;
    const int joy = doc.joy;
    const int x = static_cast<int>(doc.x);

    // A hand kept too long means the plans lead nowhere: throw it here.
    handAge_ = doc.fichas == lastHand_ ? handAge_ + 1 : 0;
    lastHand_ = doc.fichas;
    if (doc.fichas > 0 && handAge_ > 60 && GridView(board).ThrowValue(x, doc.color, doc.fichas) > -1000) {
        handAge_ = 0;
        planColumn_ = -1;
        pickedFrom_ = -1;
        return teclaarriba[joy];
    }
    // A plan goes stale when carried out, when the hand makes it pointless,
    // or after a while (the board keeps changing under it).
    if (planColumn_ >= 0 && (++planAge_ > 40 || (planPick_ && doc.fichas == _doc::kMaxEnMano) ||
                             (!planPick_ && doc.fichas == 0)))
        planColumn_ = -1;
    // Walled in by deep columns on the way: throw here, or turn round.
    if (stuck_ >= 2) {
        stuck_ = 0;
        planColumn_ = -1;
        if (doc.fichas > 0 && GridView(board).ThrowValue(x, doc.color, doc.fichas) > -1000) {
            pickedFrom_ = -1;
            return teclaarriba[joy];
        }
        return Chance(keys, 2) ? teclaizquierda[joy] : tecladerecha[joy];
    }
    if (planColumn_ < 0) Plan(board);
    if (planColumn_ < 0) return -1;
    if (planColumn_ < x) return teclaizquierda[joy];
    if (planColumn_ > x) return tecladerecha[joy];
    planColumn_ = -1;
    if (planPick_) {
        pickedFrom_ = x;
        return teclaabajo[joy];
    }
    return teclaarriba[joy];
}

}  // namespace virexo::soak

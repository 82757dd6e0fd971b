// A player for one board in the soak run: picks the key its thrower gets
// before the next frame. Four styles, chosen per game, so that games are
// both won and lost: a guided style that gathers runs of one colour and
// throws them where they complete or grow a group (it wins games), a random
// style that presses any of the four keys, a stacking style that piles
// every piece it can pick up into one column (deep columns, throws that
// reach the thrower's row, quick losses), and an idle style that hardly
// touches the keys, so the rows pushed in fill the board and lose the game.
#pragma once

#include <random>

#include "game/game_types.h"

namespace virexo::soak {

enum class Style { Guided, Random, Stacker, Idle };
inline constexpr int kStyles = 4;

const char* StyleName(Style style);

class BoardPlayer {
public:
    // Starts a new game with this style (forgets what it knew of the last).
    void NewGame(Style style, int pileColumn = 0);

    // The key for this board's thrower before the next frame, or -1 for
    // none. Reads the board; draws only from keys, never from the game's
    // generator, so the game's own random numbers are not disturbed.
    int NextKey(const _tablero& board, std::mt19937& keys);

    Style style() const { return style_; }

private:
    int GuidedKey(const _tablero& board, std::mt19937& keys);
    void Plan(const _tablero& board);
    int RandomKey(const _doc& doc, std::mt19937& keys) const;
    int StackerKey(const _tablero& board, std::mt19937& keys);

    Style style_ = Style::Guided;
    int lastKey_ = -1;       // last key pressed for this board
    float lastX_ = -1.0f;    // thrower column when it was pressed
    int stuck_ = 0;          // moves in a row that did not move the thrower
    int pile_ = 0;           // the stacking style's column
    int pickedFrom_ = -1;    // the guided style's last pick-up column while its hand is full
    // The guided style's plan: walk to a column, then pick up or throw. It
    // is kept until carried out (or stale), so the player does not waver
    // between two targets.
    int planColumn_ = -1;
    bool planPick_ = false;
    int planAge_ = 0;
    int handAge_ = 0;        // decisions since the hand last changed
    int lastHand_ = 0;
    int waited_ = 0;         // decisions the guided style waited for a better board
};

}  // namespace virexo::soak

// Games of the computer against itself, or of one computer alone, on the
// real rules with no window: the boards, throwers and screen flow of the
// game, each computer handing its key bits in before every update.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/computer/strength.h"

namespace virexo::computer {

struct MatchGame {
    int difficulty = 0;               // 0 Mild, 1 Normal, 2 Severe
    std::int32_t seed = 1;            // the game's generator is seeded with it
    Strength left = Strength::kMedium;
    Strength right = Strength::kMedium;
    bool solo = false;                // one computer alone (the `left` strength)
    double maxSeconds = 1200.0;       // a game still running then is a draw
};

// The cost of thinking: each computer update timed in the thread's CPU time.
struct ThinkCost {
    double totalMs = 0.0;
    double worstMs = 0.0;
    long updates = 0;
    void Add(double ms);
    void Add(const ThinkCost& o);
    double MeanMs() const { return updates ? totalMs / static_cast<double>(updates) : 0.0; }
};

struct GameResult {
    enum class Winner { kLeft, kRight, kNone };
    Winner winner = Winner::kNone;
    bool cleared = false;  // the game ended on a board cleared of viruses (not overrun)
    double seconds = 0.0;  // play time when it ended (or was stopped)
    ThinkCost think;
};

GameResult PlayMatchGame(const MatchGame& game);

// One line for a game: its number, seed and what happened.
std::string DescribeGame(int index, const MatchGame& game, const GameResult& r);

struct Summary {
    int leftWins = 0, rightWins = 0, draws = 0;
    int cleared = 0;  // solo: games where the board was cleared
    double totalSeconds = 0.0, clearedSeconds = 0.0;
    ThinkCost think;
    int games = 0;
    void Add(const GameResult& r);
    // The summary line of a match, or of solo games.
    std::string Line(bool solo) const;
};

}  // namespace virexo::computer

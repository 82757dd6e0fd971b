// The computer's choice of its next move: which run to pick up (from one
// column, or the same colour from two), where to throw it, looked at one or
// two moves ahead on its model of the board, the rows expected meanwhile
// counted in, and the keys it takes to walk there.
#pragma once

#include <optional>
#include <vector>

#include "game/computer/grid.h"
#include "game/computer/strength.h"
#include "toolkit/system/random.h"

namespace virexo::computer {

// What the computer knows when it plans: its own board, its thrower's
// column and hand, and when the next row comes (the clock on screen and the
// difficulty tell a player as much).
struct Situation {
    Grid grid;
    Hand hand;
    int column = 0;
    int rowTimer = 0;   // updates until the next row is pushed in
    int rowPeriod = 0;  // updates between two rows
};

struct Move {
    int pick[2] = {-1, -1};  // columns picked up from, in order (-1: none)
    int target = -1;         // column thrown into
    int presses = 0;         // keys pressed to carry it out
    double value = 0.0;      // what the planner thinks of it
};

class Planner {
public:
    explicit Planner(const StrengthParams& params) : params_(params) {}

    // The move to make, or nothing when no move is better than waiting.
    // Draws from `rng` only to decide on a slip.
    std::optional<Move> Plan(const Situation& s, kestrel::RandomGenerator& rng);

    // The same in parts, so that the thinking can be spread over the
    // updates the computer waits anyway before it reacts: Begin weighs every
    // first move; each Step looks further ahead from up to `count` of the
    // best ones and says whether the search is done; Choose picks.
    void Begin(const Situation& s);
    bool Step(int count);
    std::optional<Move> Choose(kestrel::RandomGenerator& rng);
    // First moves looked into further per Step to be done in `updates` steps.
    int StepsFor(int updates) const;

    // Every move open to the thrower, each with the board it leaves.
    struct Candidate {
        Move move;
        Grid after;
        Outcome outcome;
    };
    // `gather` adds the moves that pick up from two columns before a throw
    // (when the strength does that at all).
    void Enumerate(const Grid& g, const Hand& hand, int column, bool gather, std::vector<Candidate>& out) const;

private:
    double Score(const Candidate& c, int framesBefore, const Situation& s) const;
    int Frames(int presses) const;

    StrengthParams params_;
    Situation situation_;
    std::vector<Candidate> first_, second_;
    int expanded_ = 0;  // first moves looked into further so far
    int beam_ = 0;      // how many will be
};

}  // namespace virexo::computer

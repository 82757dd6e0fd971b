// The computer opponent for one board. Each update it looks at what a
// player sees of that board (the pieces, its thrower and what it carries,
// when the next row is due) and answers with the key bits a player's keys
// would give: at most one key an update, at its strength's pace, after its
// reaction time. It never reads the rows still to come nor the game's
// random generator; its slips come from a generator of its own.
#pragma once

#include <cstdint>
#include <optional>

#include "game/computer/planner.h"
#include "game/computer/strength.h"
#include "game/game_types.h"
#include "toolkit/system/random.h"

namespace virexo::computer {

// What a player sees of a board, as the computer plans with it.
struct View {
    Situation situation;
    bool clearPending = false;  // a group is about to burst
};

View Observe(const _tablero& board);

// A seed for the computer of a new game, from the board it starts with.
std::uint32_t SeedFrom(const _tablero& board);

class ComputerPlayer {
public:
    ComputerPlayer(Strength strength, std::uint32_t seed);

    // The key bits (teclas::k...) for the board's next update.
    std::uint8_t NextKeys(const _tablero& board) { return Decide(Observe(board)); }
    std::uint8_t Decide(const View& view);

    Strength strength() const { return strength_; }
    // Moves planned so far (plans made, whether carried out or dropped).
    long plans() const { return plans_; }

private:
    enum class Step { kPick0, kPick1, kThrow };

    std::uint8_t Carry(const View& view);
    int Goal() const;
    void Drop();
    void Think(const Situation& s);

    Strength strength_;
    StrengthParams params_;
    Planner planner_;
    kestrel::RandomGenerator rng_;

    long now_ = 0;           // updates seen
    long changedAt_ = 0;     // when the board last changed in a way the plan did not foresee
    long lastPress_ = -1000;
    long idleUntil_ = 0;
    std::uint64_t lastSig_ = 0;
    std::uint64_t expectedSig_ = 0;
    std::optional<Move> plan_;
    bool thinking_ = false;  // a search begun and not yet chosen from
    long thinkBegan_ = 0;    // the update it began in
    long thoughtBy_ = 0;     // the update by which it is done
    Step step_ = Step::kPick0;
    int walkedFrom_ = -1;    // column a walk was pressed from, until it is seen to succeed
    long plans_ = 0;
};

}  // namespace virexo::computer

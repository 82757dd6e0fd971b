// The sync check: proves that a snapshot holds the whole game state and that
// an update is a function of that state and its key bits alone, which is what
// the rollback of the online game rests on. Each update is run once with its
// key bits (the first run), then the game is rolled back `depth` updates to
// the snapshot taken before them and those updates are run again with the
// same bits; the state checksum after each re-run must equal the one after
// its first run. Play then goes on from the re-run state, as it does after a
// real rollback. The first difference stops the check with both states.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "game/net/game_snapshot.h"
#include "game/player_keys.h"

namespace virexo::net {

struct SyncMismatch {
    std::uint64_t update = 0;  // counted from the check's start
    int rerunDepth = 0;        // how many updates back the re-run started
    std::uint64_t first = 0, rerun = 0;
    std::string difference;    // the lines of the two states that differ
};

// How the game is saved and put back; by default GameSnapshot's Take and
// Restore (a test puts in one that leaves something out).
struct SnapshotSaver {
    std::function<GameSnapshot()> take = &GameSnapshot::Take;
    std::function<void(const GameSnapshot&)> restore = [](const GameSnapshot& s) { s.Restore(); };
};

class SyncCheck {
public:
    using Saver = SnapshotSaver;

    explicit SyncCheck(int depth, Saver saver = {});

    // Runs one update with these bits, then the rollback and the re-runs.
    // False once a re-run differed (see mismatch()).
    bool Step(const TeclasJugadores& bits);
    // Forgets the updates before: the next Step starts a new history (a new
    // game, or a state the check does not cover such as the title).
    void Reset() { history_.clear(); }

    int depth() const { return depth_; }
    std::uint64_t updates() const { return updates_; }  // first runs
    std::uint64_t reruns() const { return reruns_; }    // updates run again
    const std::optional<SyncMismatch>& mismatch() const { return mismatch_; }

private:
    struct Past {
        GameSnapshot before;
        TeclasJugadores bits{};
        std::uint64_t sumAfter = 0;
    };
    static void Run(const TeclasJugadores& bits);

    int depth_;
    Saver saver_;
    std::deque<Past> history_;  // the last depth updates, oldest first
    std::uint64_t updates_ = 0, reruns_ = 0;
    std::optional<SyncMismatch> mismatch_;
};

// The lines of two state descriptions that differ, "- first / + second".
std::string DescribeDifference(const std::string& first, const std::string& second);

}  // namespace virexo::net

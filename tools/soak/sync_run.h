// The sync run: long two-player games of the soak players without a
// display, each update run under the sync check (game/net/sync_check.h) at
// one rollback depth. Games follow each other with styles and difficulties
// drawn per game, so wins, losses, full boards, chains and thrown runs come.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "game/net/sync_check.h"

namespace virexo::soak {

struct SyncRunOptions {
    int depth = 4;
    long updates = 20000;
    std::uint32_t seed = 1;
};

struct SyncRunResult {
    std::uint64_t updates = 0;  // first runs
    std::uint64_t reruns = 0;   // updates run again after a rollback
    long games = 0;             // games begun
    long ended = 0;             // games that reached an end screen
    std::optional<net::SyncMismatch> mismatch;
};

// Plays under the sync check until options.updates first runs or the first
// mismatch. The game's globals are the caller's to set up (the rules run
// without assets) and are left as the run ends.
SyncRunResult RunSyncCheck(const SyncRunOptions& options, net::SyncCheck::Saver saver = {});

void PrintSyncReport(const SyncRunOptions& options, const SyncRunResult& result, std::ostream& out);

}  // namespace virexo::soak

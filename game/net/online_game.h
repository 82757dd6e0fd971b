// The online game: this machine's player against one on another machine,
// in lockstep over the connection. It is a play mode of the game (see
// game/play_mode.h): while it runs it takes the game's updates.
//
// The screens: "espera" while the host waits for a player or the guest
// connects; then the title and the difficulty screen, where the host chooses
// and the guest sees the host's screen; then the game, its end screens and
// the pause. From the host's Start (the generator's seed, the input delay and
// the difficulty) both machines run the game's updates in lockstep: each
// update runs when both players' key bits for it are in hand, the same on
// both machines. The pause runs outside the lockstep; either player plays on
// (Resume), and leaving it ends the online game for both. Every 30 updates
// the two machines compare checksums of the game state.
//
// The online game ends, and the game is offline on its title again with a
// message, when the other player leaves, the connection drops, the
// connection is refused or fails, or the games go out of step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/net/enet_session.h"
#include "game/net/lockstep.h"

namespace virexo::net {

struct OnlineOptions {
    Role role = Role::kHost;
    std::uint16_t port = kDefaultPort;  // the host's (0: any free one)
    std::string target;                 // the guest's "HOST[:PORT]"
    // The host's games' seeds: this one, then one more for each game after
    // (for reproducible runs); without it, the clock's as offline.
    std::optional<std::uint32_t> seed;
    // The host's input delay in frames (kept to 2..8); without it, chosen
    // from the measured round trip.
    std::optional<int> delay;
    // Whether updates that waited for the other player's keys are made up
    // for (at the game's pace they are; a driver that runs updates as fast
    // as it can has nothing to make up for).
    bool catchUp = true;
    // Whether the host's games run with rollback (the other player's keys
    // predicted, the own keys after 0..2 updates) or in plain lockstep (both
    // players' keys after the same delay of 2..8 updates).
    bool rollback = true;
    EnetSession::Options session;
};

// What the online game has done, for the players' screens, the tests and the
// statistics.
struct OnlineStatus {
    bool running = false;    // the online game is the game's mode
    bool connected = false;
    Role role = Role::kHost;
    std::uint16_t port = 0;  // the host's bound port
    int delay = 0;           // input delay of the game under way or the last one (frames), now
    int delayMax = 0;        // the longest it was in that game
    int window = 0;          // the prediction window now (updates; 0 in lockstep)
    std::uint64_t delayChanges = 0;  // times the delay followed the round trip, in every game
    bool rollbackEnabled = false;  // that game runs with rollback
    double rttMs = 0, jitterMs = 0;
    bool inMatch = false;      // updates run in lockstep now
    bool stalled = false;      // the last update waited for the other player's keys
    std::uint32_t matchFrame = 0;   // updates run in the game under way
    std::uint64_t framesRun = 0;    // lockstep updates run in every game so far
    std::uint64_t matches = 0;      // games started
    std::uint64_t checksumsMatched = 0;
    std::uint64_t lastChecksum = 0;  // after the last update run
    std::uint64_t stallNotices = 0;  // waits that lasted past the notice
    // Rollback: updates first run on a prediction of the other player's
    // keys; corrections (each restores one snapshot and runs the updates
    // since again), their depth in updates (sum and greatest), the updates
    // run again, and the time a correction took (sum and greatest, µs).
    std::uint64_t predicted = 0;
    std::uint64_t rollbacks = 0;
    std::uint64_t rollbackDepthSum = 0;
    std::uint32_t rollbackMaxDepth = 0;
    std::uint64_t framesRerun = 0;
    std::uint64_t rollbackUsSum = 0;
    std::int64_t rollbackMaxUs = 0;
    std::uint64_t updatesHeld = 0;     // held back to let the other side catch up
    std::uint64_t rollbackMissed = 0;  // corrections with no snapshot to go back to (never expected)
    std::string ended;               // why it ended, once it has
    std::string desyncReport;        // the report's path after a desync
    std::string replayPath;          // the last game's replay, once written
    SessionStats stats;
    LockstepDrops drops;
};

// Opens the connection (host: binds the port; guest: starts connecting) and
// sets the online game as the game's mode on its "espera" screen. False,
// with the reason in *why, when the connection cannot even start.
bool StartOnlineGame(const OnlineOptions& options, std::string* why);

const OnlineStatus& OnlineGameStatus();

// Blocks up to ms until the other side's datagrams arrive (what they bring
// is read by the next update). For a driver that runs frames unpaced: while
// the game waits for the other player, it sleeps here instead of drawing
// frames that take the processor from the other side.
void WaitForOnlineData(std::uint32_t ms);

}  // namespace virexo::net

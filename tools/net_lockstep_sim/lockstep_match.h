// One online match driven headless: the connection, the handshake, the
// host's Start (seed and input delay from the measured round trip), then the
// lockstep frame loop, with the game's update, checksum and dump as
// callbacks so any state can be played. The frame loop is the shape the
// game's own loop follows: service the connection, queue the local keys for
// f + d, run frame f when both players' keys are in hand, send a checksum
// every 30 frames and stop on the first mismatch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/net/enet_session.h"
#include "game/net/lockstep.h"

namespace virexo::nettest {

struct MatchCallbacks {
    // Called once, when the Start is in hand, with the host's seed.
    std::function<void(std::uint32_t seed)> begin;
    // The keys the local player hits in frame f.
    std::function<std::uint8_t(std::uint32_t f)> localKeys;
    // Runs one game update with both players' keys.
    std::function<void(const net::FrameInputs&)> advance;
    std::function<std::uint64_t()> checksum;
    std::function<std::string()> dump;
};

struct MatchOptions {
    std::uint32_t frames = 10000;
    double fps = 0.0;  // 0: as fast as the lockstep allows; 60: the game's pace
    std::uint32_t seed = 1;  // the host's
    double setupSeconds = 15.0;  // connect, handshake, round trip, Start
    double stallLimitSeconds = 10.0;  // a frame waiting longer ends the match
};

struct MatchResult {
    bool ok = false;
    std::string message;  // why it ended, when not ok
    std::uint32_t frames = 0;
    std::uint64_t finalChecksum = 0;
    int delay = 0;
    double rttMs = 0, jitterMs = 0;
    std::uint64_t checksumsMatched = 0;
    std::uint64_t stallNotices = 0;  // frames that waited past the 0.5 s notice
    double longestStallMs = 0;
    double seconds = 0;  // of the frame loop
    std::string desyncReport;  // the report's path after a desync
    net::SessionStats stats;
    net::LockstepDrops drops;
};

MatchResult PlayMatch(net::EnetSession& session, const MatchOptions& options, const MatchCallbacks& game);

}  // namespace virexo::nettest

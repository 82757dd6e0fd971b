// A small deterministic game for the lockstep match: two players with a
// column, a score and a pressure that rises by the program's generator every
// frame. A player whose score reaches kWinScore wins the round; one whose
// pressure overflows loses it. Rounds restart, so a long match holds many
// wins and losses, and any difference in keys or draws shows in the state.
#pragma once

#include <cstdint>
#include <string>

#include "game/net/lockstep.h"

namespace virexo::nettest {

class ToyGame {
public:
    static constexpr int kWinScore = 40;
    static constexpr int kMaxPressure = 400;

    void Begin(std::uint32_t seed);
    void Advance(const net::FrameInputs& in);
    std::uint64_t Checksum() const;
    std::string Dump() const;

    int won[2] = {0, 0};
    int lost[2] = {0, 0};

private:
    void EndRound(int winner);
    int column_[2] = {0, 0};
    int score_[2] = {0, 0};
    int pressure_[2] = {0, 0};
    std::uint32_t frame_ = 0;
};

// Scripted keys: a pure function of the seed, the player and the frame.
std::uint8_t ScriptedKeys(std::uint32_t seed, int player, std::uint32_t frame);

}  // namespace virexo::nettest

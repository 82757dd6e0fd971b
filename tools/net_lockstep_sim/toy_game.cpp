#include "tools/net_lockstep_sim/toy_game.h"

#include <algorithm>
#include <sstream>

#include "game/net/fnv1a.h"
#include "toolkit/system/random.h"

namespace virexo::nettest {

void ToyGame::Begin(std::uint32_t seed) {
    kestrel::SeedRnd(static_cast<std::int32_t>(seed & 0x7fffffff));
    *this = ToyGame{};
}

void ToyGame::Advance(const net::FrameInputs& in) {
    ++frame_;
    for (int p = 0; p < 2; ++p) {
        const std::uint8_t k = in.player[static_cast<std::size_t>(p)];
        if (k & net::keys::kLeft) column_[p] = std::max(0, column_[p] - 1);
        if (k & net::keys::kRight) column_[p] = std::min(7, column_[p] + 1);
        if (k & net::keys::kUp) {
            // A throw scores more when the drawn colour matches the column.
            score_[p] += kestrel::Rand(0, 7) == column_[p] ? 3 : 1;
            pressure_[p] = std::max(0, pressure_[p] - 4);
        }
        if (k & net::keys::kDown) score_[p] = std::max(0, score_[p] - 1);
        pressure_[p] += kestrel::Rand(0, 2);
    }
    for (int p = 0; p < 2; ++p) {
        if (score_[p] >= kWinScore) return EndRound(p);
        if (pressure_[p] > kMaxPressure) return EndRound(1 - p);
    }
}

void ToyGame::EndRound(int winner) {
    ++won[winner];
    ++lost[1 - winner];
    for (int p = 0; p < 2; ++p) score_[p] = pressure_[p] = 0;
}

std::uint64_t ToyGame::Checksum() const {
    net::Fnv1a64 h;
    h.U32(frame_);
    for (int p = 0; p < 2; ++p) {
        h.I32(column_[p]);
        h.I32(score_[p]);
        h.I32(pressure_[p]);
        h.I32(won[p]);
        h.I32(lost[p]);
    }
    h.I32(kestrel::RndSeed());
    return h.value();
}

std::string ToyGame::Dump() const {
    std::ostringstream o;
    o << "frame " << frame_ << " rng " << kestrel::RndSeed() << "\n";
    for (int p = 0; p < 2; ++p)
        o << "player " << p << ": column " << column_[p] << " score " << score_[p] << " pressure "
          << pressure_[p] << " won " << won[p] << " lost " << lost[p] << "\n";
    return o.str();
}

std::uint8_t ScriptedKeys(std::uint32_t seed, int player, std::uint32_t frame) {
    net::Fnv1a64 h;
    h.U32(seed);
    h.I32(player);
    h.U32(frame);
    const std::uint64_t r = h.value();
    std::uint8_t k = 0;
    if (r % 3 == 0) k |= net::keys::kUp;
    if ((r >> 8) % 5 == 0) k |= net::keys::kLeft;
    if ((r >> 16) % 5 == 0) k |= net::keys::kRight;
    if ((r >> 24) % 13 == 0) k |= net::keys::kDown;
    return k;
}

}  // namespace virexo::nettest

// The scripted player of one side of an online game: what it presses before
// the next frame. On the host's title it goes on to the difficulty and
// chooses the mildest; in play it steers this machine's board with a soak
// player (one key decision per update the game runs); on an end screen the
// host leaves it after a while, and the next game starts. It also keeps the
// tally of the games played, as both machines must see them.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "game/net/protocol.h"
#include "tools/soak/board_player.h"

namespace virexo::netplay {

class NetPlayer {
public:
    explicit NetPlayer(net::Role role, std::uint32_t keySeed = 7) : role_(role), keys_(keySeed) {}

    // The key to press before the next frame (-1: none), given the game's
    // state after the last one.
    int NextKey();

    // After each frame: notes the state the game is in now. Returns true
    // when a game ended with it.
    bool Observe();

    // The ends of the games so far in order ("fin21b,fin20,..."), and how
    // many were won (someone cleared their viruses) and lost (a board
    // filled up).
    std::string Results() const;
    int won() const { return won_; }
    int lost() const { return lost_; }

private:
    int PlayKey();

    net::Role role_;
    std::mt19937 keys_;
    soak::BoardPlayer board_;
    std::string last_;           // the state after the last frame
    int framesInState_ = 0;      // frames since the state last changed
    std::uint32_t lastDecided_ = ~0u;  // the lockstep update of the last decision
    int games_ = 0;
    int won_ = 0, lost_ = 0;
    std::vector<std::string> ends_;
};

}  // namespace virexo::netplay

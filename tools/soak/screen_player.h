// The soak run's player for the whole program: before each frame it picks
// the keys for the screen now shown, seeded and reproducible. On the menus
// it waits a random while and then chooses (one or two players, help, a
// difficulty, back); during play each board gets a BoardPlayer of a style
// drawn per game; now and then it pauses, continues or leaves a game.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tools/soak/board_player.h"

namespace virexo::soak {

class ScreenPlayer {
public:
    // With a forced style every board plays that style (for looking into
    // one kind of play); otherwise styles are drawn per game.
    explicit ScreenPlayer(std::uint32_t seed, std::optional<Style> forced = {}) : keys_(seed), forced_(forced) {}

    // The keys to press before the next frame, for the state now in estado.
    // Never Escape on the title, which would end the program.
    std::vector<int> KeysForNextFrame();

    // Games started with each style (both boards of a two-player game count).
    long StyleCount(Style s) const { return styles_[static_cast<int>(s)]; }

    // The style of board i (0 or 1, as in tableros) in the current game.
    Style BoardStyle(int i) const { return boards_[i & 1].style(); }

private:
    void NewGame(int players);

    std::mt19937 keys_;
    std::optional<Style> forced_;
    BoardPlayer boards_[2];
    std::string last_;
    long styles_[kStyles] = {};
};

}  // namespace virexo::soak

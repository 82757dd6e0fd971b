// The soak run's options and their command-line form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/soak/board_player.h"

namespace virexo::soak {

struct SoakOptions {
    long frames = 100000;
    std::uint32_t seed = 1;
    // Largest allowed growth of the resident set from the 10 % mark to the
    // end of the run, in megabytes.
    double rssMarginMb = 8.0;
    // What must have been visited: every state (and play with one and two
    // players), every kind (one won and one lost end screen stand for the
    // six), or nothing.
    enum class Coverage { Every, Kinds, None };
    Coverage coverage = Coverage::Every;
    // Print a line for every game as it ends (players, styles, outcome).
    bool logGames = false;
    // Every board plays this style (otherwise drawn per game).
    std::optional<Style> style;
};

// Parses --frames N, --seed S, --rss-margin-mb M, --require every|kinds|none,
// --log-games, --style guided|random|stacking|idle.
// Returns empty, with the reason in *why, on anything else or a bad number.
std::optional<SoakOptions> ParseSoakOptions(const std::vector<std::string>& args, std::string* why);

}  // namespace virexo::soak

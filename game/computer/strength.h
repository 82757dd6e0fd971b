// The computer opponent's three strengths and what sets each apart: how
// soon it reacts to a change on its board, how fast it presses keys, how
// far ahead it plans and how often it picks a poorer move.
#pragma once

#include <optional>
#include <string_view>

namespace virexo::computer {

enum class Strength { kEasy, kMedium, kHard };

struct StrengthParams {
    const char* name;       // "easy", "medium", "hard"
    int reactionUpdates;    // updates from a change on the board to its first press
    int pressInterval;      // updates between two presses (60 / presses a second)
    int depth;              // moves planned ahead: 1 or 2
    int beam;               // first moves looked into further at depth 2
    bool readsViruses;      // weighs how near each virus is to a group of four
    bool pairsPickUps;      // gathers a colour from two columns before a throw
    double errorRate;       // chance a plan is a poorer move than the best one
};

const StrengthParams& ParamsOf(Strength s);

const char* StrengthName(Strength s);

// "easy", "medium" or "hard"; nothing for any other text.
std::optional<Strength> StrengthFromName(std::string_view name);

}  // namespace virexo::computer

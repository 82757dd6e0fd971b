#include "game/computer/strength.h"

namespace virexo::computer {

namespace {

// Easy thinks for over half a second, presses about three keys a second,
// looks one move ahead, never gathers from two columns and slips one plan
// in four:
// a new player on Mild outpaces it. Hard reacts in a tenth of a second,
// presses ten keys a second (a quick player's pace) and plans two moves.
constexpr StrengthParams kParams[] = {
    {"easy", 40, 20, 1, 1, true, false, 0.25},
    {"medium", 24, 12, 1, 1, true, true, 0.08},
    {"hard", 5, 5, 2, 16, true, true, 0.01},
};

}  // namespace

const StrengthParams& ParamsOf(Strength s) { return kParams[static_cast<int>(s)]; }

const char* StrengthName(Strength s) { return ParamsOf(s).name; }

std::optional<Strength> StrengthFromName(std::string_view name) {
    for (Strength s : {Strength::kEasy, Strength::kMedium, Strength::kHard})
        if (name == StrengthName(s)) return s;
    return std::nullopt;
}

}  // namespace virexo::computer

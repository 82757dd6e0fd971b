// virexo-cpu-match: the computer against itself, or alone, on the real
// rules with no window, for measuring its strengths.
//
//   virexo-cpu-match --games N --left STRENGTH --right STRENGTH
//                    --difficulty mild|normal|severe --seed S [--per-game]
//   virexo-cpu-match --games N --solo STRENGTH --difficulty ... --seed S
//
// Game i (from 0) is seeded with S + i. Prints one summary line.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "tools/cpu_match/match.h"

using namespace virexo::computer;

namespace {

int Usage(const char* why) {
    std::fprintf(stderr,
                 "virexo-cpu-match: %s\n"
                 "usage: virexo-cpu-match --games N (--left S --right S | --solo S)\n"
                 "       --difficulty mild|normal|severe --seed N [--per-game] [--max-seconds T]\n"
                 "       strengths: easy, medium, hard\n",
                 why);
    return 2;
}

Strength ParseStrength(const std::string& s) {
    if (auto v = StrengthFromName(s)) return *v;
    throw std::invalid_argument("unknown strength " + s);
}

int ParseDifficulty(const std::string& s) {
    if (s == "mild") return 0;
    if (s == "normal") return 1;
    if (s == "severe") return 2;
    throw std::invalid_argument("unknown difficulty " + s);
}

}  // namespace

int main(int argc, char** argv) {
    int games = 10;
    long seed = 1;
    bool perGame = false;
    MatchGame game;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--games") games = std::stoi(value());
            else if (a == "--left") game.left = ParseStrength(value());
            else if (a == "--right") game.right = ParseStrength(value());
            else if (a == "--solo") game.solo = true, game.left = ParseStrength(value());
            else if (a == "--difficulty") game.difficulty = ParseDifficulty(value());
            else if (a == "--seed") seed = std::stol(value());
            else if (a == "--max-seconds") game.maxSeconds = std::stod(value());
            else if (a == "--per-game") perGame = true;
            else throw std::invalid_argument("unknown option " + a);
        }
        if (games < 1) throw std::invalid_argument("--games must be at least 1");
    } catch (const std::exception& e) {
        return Usage(e.what());
    }

    Summary sum;
    for (int i = 0; i < games; ++i) {
        game.seed = static_cast<std::int32_t>(seed + i);
        const GameResult r = PlayMatchGame(game);
        sum.Add(r);
        if (perGame) std::printf("%s\n", DescribeGame(i, game, r).c_str());
    }
    std::printf("%s\n", sum.Line(game.solo).c_str());
    return 0;
}

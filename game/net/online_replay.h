// The record of an online game, to watch it again afterwards on either
// machine (virexo --replay FILE): the program's version, the generator's
// seed, the difficulty and both players' key bits of every update, which is
// all it takes, since an update is a function of the state and its keys.
// The file is text: a header, then one line per run of updates with the same
// bits ("COUNT HOST GUEST", hexadecimal bits), so that a game of a few
// minutes, mostly without presses, takes a few kilobytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace virexo::net {

struct OnlineReplay {
    std::string version;
    std::uint32_t seed = 0;
    int difficulty = 0;
    std::vector<std::array<std::uint8_t, 2>> keys;  // [update] = {first player, second player}

    std::string ToText() const;
    // Empty, with the reason in *why, on anything malformed or out of range
    // (bits past the keys, more than kMaxUpdates updates).
    static std::optional<OnlineReplay> FromText(const std::string& text, std::string* why);

    static constexpr std::size_t kMaxUpdates = 60u * 60u * 60u * 4u;  // four hours
};

// Writes the replay into CacheFolder() as replay-YYYYMMDD-HHMMSS-ROLE.txt;
// returns the path, or empty with the reason in *why.
std::string WriteOnlineReplay(const OnlineReplay& replay, const std::string& role, std::string* why = nullptr);

// Readies the game's globals for a new online game (or its replay) of this
// seed and difficulty: its first update creates the boards, the same on any
// machine whatever it played before.
void PrepareOnlineGame(std::uint32_t seed, int difficulty);

// Runs the recorded updates on the game's globals from a new game of the
// replay's seed and difficulty: the first n (all when n is past the end).
// A pause in the record is played on at once. Returns the updates run.
std::size_t RunReplayUpdates(const OnlineReplay& replay, std::size_t n);

// Sets a play mode that shows the replay at the game's pace, then returns to
// the title. False, with the reason, when the file cannot be read.
bool StartReplay(const std::string& path, std::string* why);

}  // namespace virexo::net

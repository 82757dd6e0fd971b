// Visits per screen state in the soak run: a visit is a frame whose state
// differs from the frame before's. Play is also counted per player count,
// and end screens as won or lost.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace virexo::soak {

class StateVisits {
public:
    // The thirteen state names of the screen flow, in the game's order.
    static const std::vector<std::string>& StateNames();
    // Known screens a run need not reach: the computer's strength choice.
    static const std::vector<std::string>& OptionalStateNames();

    // Called after every frame with the state it left and the player count.
    void Observe(const std::string& estado, int jugadores);

    long Visits(const std::string& name) const;
    long PlayVisits(int jugadores) const;  // entries into "juego" with 1 or 2 players
    long Won() const;                      // entries into an end state ending in "b"
    long Lost() const;

    // The names of what was never visited: any of the thirteen states, or
    // play with one or with two players.
    std::vector<std::string> Missing() const;

    // The same by kind: every state but the end screens, play with one and
    // with two players, and at least one won and one lost end screen.
    std::vector<std::string> MissingKinds() const;

    // Names seen that are none of the thirteen (a fault of the screen flow).
    std::vector<std::string> Unknown() const;

    // One line per state with its visits, then the play and end totals.
    void Print(std::ostream& out) const;

private:
    std::string last_;
    std::map<std::string, long> visits_;
    long play_[2] = {0, 0};
};

}  // namespace virexo::soak

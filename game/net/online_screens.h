// What an online game writes over the game's screens: the waiting screen's
// port and addresses, who plays which board on the title, the input delay on
// "Get ready", the notice while the other player's keys are late, and the
// pause's reminder that leaving ends the game for both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/option_rows.h"
#include "game/timer_layout.h"

namespace virexo::net {

struct OnlineScreenInfo {
    bool host = true;
    std::uint16_t port = 0;               // the host's
    std::string target;                   // the guest's "HOST[:PORT]"
    int attempts = 1;                     // the guest's tries to reach the host so far
    std::vector<std::string> addresses;   // the host's addresses
    int delay = 0;                        // input delay in frames, in a game
    double rttMs = -1;                    // round trip, once measured
    bool measuring = false;               // the host chose, the round trip is still being measured
    bool waitingForPeer = false;          // the other player's keys are late past the notice
    bool desync = false;                  // the games went out of step; the report is being written
};

// The texts, one vector of lines per place, for the state named estado.
std::vector<std::string> WaitingLines(const OnlineScreenInfo& info);
std::vector<std::string> TitleLines(const OnlineScreenInfo& info, const std::string& estado);
std::string DelayLine(const OnlineScreenInfo& info);

// The lines of the title's and the difficulty screen's option lists that
// one side can press online: the host's F1 and F2 both start the
// two-player game (so only "Doubles : F2" stands for them; F1 is named in
// the panel), F3 the help, Escape leaves; it chooses the difficulty. The
// guest chooses nothing: on the title it has the help and leaving, on the
// difficulty screen only Escape (the help's F3 stays, unlisted). The
// computer opponent is offline only.
OpcionesVisibles OnlineOptionRows(bool host);

// The panel of lines written over the screen of estado (none: empty), and
// where it goes: the first line's top at y, centred on x, at scale.
struct PanelPlace {
    float x = 0, y = 0, scale = 1.5f;
};
std::vector<std::string> PanelLines(const OnlineScreenInfo& info, const std::string& estado);
PanelPlace PanelAt(const std::string& estado, std::size_t lines);

// The line over the top of the screens while the other player's keys are
// late or the games went out of step (none: empty), and its place.
std::string TopLine(const OnlineScreenInfo& info, const std::string& estado);
PanelPlace TopLineAt(const OnlineScreenInfo& info);

// Draws what the state named by the game's estado calls for.
void dibujapantallared(const OnlineScreenInfo& info);

}  // namespace virexo::net

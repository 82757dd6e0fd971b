#include "game/net/online_screens.h"

#include <cmath>

#include "game/globals.h"
#include "game/notice.h"
#include "game/player_keys.h"

namespace virexo::net {

namespace {

std::string Ms(double ms) { return std::to_string(static_cast<long>(std::lround(ms))) + " ms"; }

}  // namespace

std::vector<std::string> WaitingLines(const OnlineScreenInfo& info) {
    std::vector<std::string> lines;
    if (info.host) {
        lines.push_back("Waiting for a player on port " + std::to_string(info.port));
        if (info.addresses.empty()) {
            lines.push_back("(this machine has no network address)");
        } else {
            std::string all;
            for (const std::string& a : info.addresses) all += (all.empty() ? "" : "  ") + a;
            lines.push_back("This machine: " + all);
        }
        lines.push_back("The other player runs: virexo --join ADDRESS:" + std::to_string(info.port));
    } else {
        lines.push_back("Joining " + info.target + " ...");
        if (info.attempts > 1) lines.push_back("No answer yet: trying again until the host is there");
    }
    lines.push_back("");
    lines.push_back("Escape: back to the title");
    return lines;
}

std::vector<std::string> TitleLines(const OnlineScreenInfo& info, const std::string& estado) {
    std::vector<std::string> lines;
    lines.push_back(info.host ? "Online: you play the right board" : "Online: you play the left board");
    if (info.measuring) lines.push_back("Measuring the connection ...");
    else if (info.host) lines.push_back(estado == "dificultad" ? "You choose the difficulty" : "F1 or F2: on to the difficulty");
    else lines.push_back("The other player chooses the difficulty");
    if (estado == "menu" || !info.host) lines.push_back("Escape here ends the online game");
    if (info.rttMs >= 0) lines.push_back("Round trip " + Ms(info.rttMs));
    return lines;
}

std::string DelayLine(const OnlineScreenInfo& info) {
    std::string line = "Input delay " + std::to_string(info.delay) + " frames (" + Ms(info.delay * 1000.0 / 60.0) + ")";
    if (info.rttMs >= 0) line += ", round trip " + Ms(info.rttMs);
    return line;
}

void dibujapantallared(const OnlineScreenInfo& info) {
    const std::string& e = estado;
    const float cx = static_cast<float>(centrox);
    if (e == "espera") {
        dibujalineas(WaitingLines(info), cx, static_cast<float>(centroy - 80), 2.0f);
    } else if (e == "menu" || e == "dificultad") {
        // Low in the middle, between the author line and the options.
        const auto lines = TitleLines(info, e);
        dibujalineas(lines, cx, static_cast<float>(altopantalla - 40) - 25.0f * static_cast<float>(lines.size()), 1.5f);
    } else if (e == "iniciajuego") {
        dibujalineas({DelayLine(info)}, cx, static_cast<float>(centroy + 60), 2.0f);
    } else if (e == "pausa") {
        dibujalineas({"Escape ends the online game for both players"}, cx, static_cast<float>(centroy + 300), 1.5f);
    }
    if (info.desync) {
        dibujalineas({"The games went out of step"}, cx, 16.0f, 2.0f);
    } else if (info.waitingForPeer && (e == "juego" || e == "iniciajuego" || e == "creapartida" || espantallafinal(e))) {
        dibujalineas({"waiting for the other player"}, cx, 16.0f, 1.5f);
    }
}

}  // namespace virexo::net

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

OpcionesVisibles OnlineOptionRows(bool host) {
    if (host) return {kFilaDos | kFilaAyuda | kFilaSalir, kTodaDificultad};
    return {kFilaAyuda | kFilaSalir, kFilaMenu};
}

std::vector<std::string> PanelLines(const OnlineScreenInfo& info, const std::string& estado) {
    if (estado == "espera") return WaitingLines(info);
    if (estado == "menu" || estado == "dificultad") return TitleLines(info, estado);
    if (estado == "iniciajuego") return {DelayLine(info)};
    if (estado == "pausa") return {"Escape ends the online game for both players"};
    return {};
}

PanelPlace PanelAt(const std::string& estado, std::size_t lines) {
    const float cx = static_cast<float>(centrox);
    if (estado == "espera") return {cx, static_cast<float>(centroy - 80), 2.0f};
    if (estado == "menu") {
        // Low in the middle, its bottom just above the author line, between
        // it and the option list.
        const float alto = cajalineas(std::vector<std::string>(lines, "x"), cx, 0.0f, 1.5f).y1;
        return {cx, static_cast<float>(altopantalla - 52) - alto, 1.5f};
    }
    // Between the banner and the difficulty list (its four lines fit there).
    if (estado == "dificultad") return {cx, static_cast<float>(centroy - 150), 1.5f};
    // Below "Get ready!" and its shake.
    if (estado == "iniciajuego") return {cx, static_cast<float>(centroy + 90), 2.0f};
    // The pause: below its options.
    return {cx, static_cast<float>(centroy + 300), 1.5f};
}

std::string TopLine(const OnlineScreenInfo& info, const std::string& e) {
    if (info.desync) return "The games went out of step";
    if (info.waitingForPeer && (e == "juego" || e == "iniciajuego" || e == "creapartida" || espantallafinal(e)))
        return "waiting for the other player";
    return {};
}

PanelPlace TopLineAt(const OnlineScreenInfo& info) {
    // Above the banners' strips.
    return {static_cast<float>(centrox), 16.0f, info.desync ? 2.0f : 1.5f};
}

void dibujapantallared(const OnlineScreenInfo& info) {
    const std::string& e = estado;
    const std::vector<std::string> lines = PanelLines(info, e);
    if (!lines.empty()) {
        const PanelPlace at = PanelAt(e, lines.size());
        dibujalineas(lines, at.x, at.y, at.scale);
    }
    if (const std::string top = TopLine(info, e); !top.empty()) {
        const PanelPlace at = TopLineAt(info);
        dibujalineas({top}, at.x, at.y, at.scale);
    }
}

}  // namespace virexo::net

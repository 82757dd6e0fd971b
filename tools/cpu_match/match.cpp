#include "tools/cpu_match/match.h"

#include <time.h>

#include <cstdio>

#include "game/computer/computer_player.h"
#include "game/explota.h"
#include "game/globals.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"

namespace virexo::computer {

namespace {

// The thread's own CPU time: what the thinking costs, whatever else the
// machine runs meanwhile.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::uint8_t TimedKeys(ComputerPlayer& p, const _tablero& board, ThinkCost& cost) {
    const double t0 = ThreadMs();
    const std::uint8_t bits = p.NextKeys(board);
    cost.Add(ThreadMs() - t0);
    return bits;
}

std::string Format(const char* fmt, double a, double b) {
    char buf[96];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

}  // namespace

void ThinkCost::Add(double ms) {
    totalMs += ms;
    if (ms > worstMs) worstMs = ms;
    ++updates;
}

void ThinkCost::Add(const ThinkCost& o) {
    totalMs += o.totalMs;
    if (o.worstMs > worstMs) worstMs = o.worstMs;
    updates += o.updates;
}

GameResult PlayMatchGame(const MatchGame& game) {
    // Every game starts from the program's first state, so each depends on
    // its seed alone.
    ReiniciaGlobales();
    kestrel::SeedRnd(game.seed);
    jugadores = game.solo ? 1 : 2;
    eligedificultad(game.difficulty);
    creapartida();
    estado = "juego";
    tiempo = 0.0f;

    // Board 0 is the left board (the thrower of joy 1) in a two-board game,
    // the only one alone.
    _tablero& leftBoard = *tableros[0];
    ComputerPlayer left(game.left, SeedFrom(leftBoard));
    std::optional<ComputerPlayer> right;
    if (!game.solo) right.emplace(game.right, SeedFrom(*tableros[1]));

    GameResult r;
    TeclasJugadores bits{};
    const long updates = static_cast<long>(game.maxSeconds * 60.0);
    for (long u = 0; u < updates && estado == "juego"; ++u) {
        bits = {};
        if (game.solo) {
            bits[0] = TimedKeys(left, leftBoard, r.think);
        } else {
            bits[1] = TimedKeys(left, leftBoard, r.think);
            bits[0] = TimedKeys(*right, *tableros[1], r.think);
        }
        ponteclasdered(&bits);
        actualizaestado();
        ponteclasdered(nullptr);
    }
    r.seconds = tiempo;
    const std::string& e = estado;
    if (e.rfind("fin", 0) == 0 && e.size() >= 5) {
        r.cleared = e.back() == 'b';
        const bool leftBoardEnded = game.solo || e[4] == '1';
        const bool leftWins = leftBoardEnded == r.cleared;
        r.winner = leftWins ? GameResult::Winner::kLeft : GameResult::Winner::kRight;
        if (game.solo && !r.cleared) r.winner = GameResult::Winner::kNone;
    }
    return r;
}

std::string DescribeGame(int index, const MatchGame& game, const GameResult& r) {
    std::string what;
    if (game.solo) {
        what = r.cleared ? "cleared" : r.seconds >= game.maxSeconds ? "unfinished" : "overrun";
    } else if (r.winner == GameResult::Winner::kNone) {
        what = "draw";
    } else {
        const bool left = r.winner == GameResult::Winner::kLeft;
        // Who ended it: the winner's board cleared, or the loser's overrun.
        what = std::string(left ? "left" : "right") + " wins (" +
               (r.cleared ? "its board cleared" : std::string(left ? "right" : "left") + " board overrun") + ")";
    }
    char head[64], tail[32];
    std::snprintf(head, sizeof head, "game %d seed %d: ", index, static_cast<int>(game.seed));
    std::snprintf(tail, sizeof tail, ", %.1f s", r.seconds);
    return head + what + tail;
}

void Summary::Add(const GameResult& r) {
    ++games;
    if (r.winner == GameResult::Winner::kLeft) ++leftWins;
    else if (r.winner == GameResult::Winner::kRight) ++rightWins;
    else ++draws;
    if (r.cleared) {
        ++cleared;
        clearedSeconds += r.seconds;
    }
    totalSeconds += r.seconds;
    think.Add(r.think);
}

std::string Summary::Line(bool solo) const {
    const double mean = games ? totalSeconds / games : 0.0;
    const std::string cost = Format("thinking %.4f ms mean, %.3f ms worst per update", think.MeanMs(), think.worstMs);
    char buf[256];
    if (solo) {
        const double clearMean = cleared ? clearedSeconds / cleared : 0.0;
        std::snprintf(buf, sizeof buf, "cleared %d of %d (%.1f %%), overrun or unfinished %d, mean clear time %.1f s, mean game %.1f s, ",
                      cleared, games, games ? 100.0 * cleared / games : 0.0, games - cleared, clearMean, mean);
    } else {
        std::snprintf(buf, sizeof buf, "left wins %d, right wins %d, draws %d, mean game %.1f s, left win rate %.1f %%, ",
                      leftWins, rightWins, draws, mean, games ? 100.0 * leftWins / games : 0.0);
    }
    return buf + cost;
}

}  // namespace virexo::computer

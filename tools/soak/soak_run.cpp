#include "tools/soak/soak_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "game/board_invariants.h"
#include "game/casilla.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/random.h"
#include "tools/replay/replay.h"
#include "tools/soak/screen_player.h"

namespace virexo::soak {

namespace {

bool g_running = false;
long g_frame = 0;

std::uint64_t Mix(std::uint64_t digest, std::uint64_t v) { return (digest ^ v) * 1099511628211ull; }

// The game seeds its generator from the clock as the title is left; the
// soak replaces that seed by one drawn from the run's seed and the game's
// number, so a run is reproducible and its games differ.
std::int32_t GameSeed(std::uint32_t seed, long game) {
    std::uint64_t h = Mix(Mix(1469598103934665603ull, seed), static_cast<std::uint64_t>(game));
    return static_cast<std::int32_t>(h & 0x7fffffff);
}

double MegaBytes(long kb) { return static_cast<double>(kb) / 1024.0; }

}  // namespace

SoakResult RunSoak(const SoakOptions& options, std::ostream& log) {
    SoakResult result;
    replay::Script script;
    script.answer = 0;  // a window
    script.frames = 0;
    replay::Harness harness;
    std::string why;
    if (!harness.Start(script, &why)) {
        result.failure = "no display: " + why;
        return result;
    }
    result.displayOpened = true;

    // Escape on the title ends the program through End(); the player never
    // presses it there, and a run that ends that way must not pass.
    g_running = true;
    kestrel::OnEnd([] {
        if (!g_running) return;
        std::fprintf(stderr, "virexo-soak: the program ended itself at frame %ld\n", g_frame);
        std::_Exit(1);
    });

    ScreenPlayer player(options.seed, options.style);
    const long marks[3] = {std::max(1L, options.frames / 10), std::max(1L, options.frames / 2), options.frames};
    const int percents[3] = {10, 50, 100};
    int nextMark = 0;
    long gamesSeeded = 0;
    long gameStart = 0;
    std::vector<std::weak_ptr<_tablero>> boards;  // of every game, to see that old ones go
    std::uint64_t digest = 1469598103934665603ull;
    const auto t0 = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };

    for (long frame = 1; frame <= options.frames; ++frame) {
        g_frame = frame;
        for (int key : player.KeysForNextFrame()) harness.Press(key);
        const std::string before = estado;
        harness.Step();
        if (before == "menu" && (estado == "dificultad" || estado == "rival"))
            kestrel::SeedRnd(GameSeed(options.seed, ++gamesSeeded));
        if (before == "creapartida" && (jugadores == 1 || jugadores == 2)) {
            result.games[jugadores - 1] += 1;
            gameStart = frame;
            for (const auto& b : tableros)
                if (b) boards.push_back(b);
        }
        if (options.logGames && before == "juego" && estado.rfind("fin", 0) == 0) {
            log << "frame " << frame << ": " << estado << " after " << frame - gameStart << " frames, boards";
            for (int i = 0; i < jugadores; ++i) log << ' ' << StyleName(player.BoardStyle(i));
            log << '\n';
        }
        if (estado != before) digest = Mix(digest, std::hash<std::string>{}(estado));
        result.visits.Observe(estado, jugadores);
        result.frames = frame;

        for (std::size_t b = 0; b < tableros.size(); ++b) {
            if (!tableros[b]) continue;
            const auto violations = CompruebaInvariantes(*tableros[b]);
            if (!violations.empty()) {
                std::ostringstream o;
                o << "invariant violated on board " << b << ": " << violations.front() << " (" << violations.size()
                  << " violation(s); state " << estado << " after the update of frame " << frame << ", seed "
                  << options.seed << ")";
                result.failure = o.str();
                result.seconds = elapsed();
                g_running = false;
                return result;
            }
            if (estado == "juego" || before == "juego")
                for (const auto& c : tableros[b]->casilla)
                    digest = Mix(digest, c->ficha ? static_cast<std::uint64_t>(c->ficha->color * 2 + c->ficha->bixo + 1) : 0u);
        }

        // A request to close the window ends the run early, with its report.
        if (kestrel::AppTerminate()) {
            result.failure = "interrupted at frame " + std::to_string(frame);
            break;
        }

        while (nextMark < 3 && frame == marks[nextMark]) {
            Checkpoint cp;
            cp.percent = percents[nextMark];
            cp.frame = frame;
            cp.seconds = elapsed();
            cp.memory = ReadMemoryStatus().value_or(MemoryStatus{});
            for (const auto& w : boards) {
                const auto b = w.lock();
                if (b && b != tableros[0] && b != tableros[1]) ++cp.oldBoardsAlive;
            }
            cp.particles = listaexplota ? static_cast<long>(listaexplota->Count()) : 0;
            result.checkpoints.push_back(cp);
            ++nextMark;
        }
    }
    result.seconds = elapsed();
    result.digest = digest;
    for (int s = 0; s < kStyles; ++s) result.styles[s] = player.StyleCount(static_cast<Style>(s));
    g_running = false;
    return result;
}

void CheckSoakResult(const SoakOptions& options, SoakResult& result) {
    if (!result.failure.empty()) return;
    if (result.frames != options.frames) {
        result.failure = "the run stopped early";
        return;
    }
    if (const auto unknown = result.visits.Unknown(); !unknown.empty()) {
        result.failure = "the screen flow reached an unknown state \"" + unknown.front() + "\"";
        return;
    }
    if (options.coverage != SoakOptions::Coverage::None) {
        const auto missing = options.coverage == SoakOptions::Coverage::Every ? result.visits.Missing()
                                                                              : result.visits.MissingKinds();
        if (!missing.empty()) {
            std::string list;
            for (const auto& m : missing) list += (list.empty() ? "" : ", ") + m;
            result.failure = "never visited: " + list;
            return;
        }
    }
    if (result.checkpoints.size() == 3) {
        const long first = result.checkpoints.front().memory.rssKb;
        const long last = result.checkpoints.back().memory.rssKb;
        if (first <= 0 || last <= 0) {
            result.failure = "the resident set size could not be read";
            return;
        }
        const double growth = MegaBytes(last - first);
        if (growth > options.rssMarginMb) {
            std::ostringstream o;
            o << std::fixed << std::setprecision(1) << "memory grew: RSS " << MegaBytes(first) << " MB at 10 % and "
              << MegaBytes(last) << " MB at 100 % (+" << growth << " MB, more than the " << options.rssMarginMb
              << " MB allowed)";
            result.failure = o.str();
        }
    }
}

void PrintSoakReport(const SoakOptions& options, const SoakResult& result, std::ostream& out) {
    out << std::fixed;
    out << "virexo-soak: seed " << options.seed << ", " << result.frames << " of " << options.frames << " frames in "
        << std::setprecision(1) << result.seconds << " s (" << std::setprecision(0) << result.FramesPerSecond()
        << " frames/s)\n";
    out << "games: " << result.games[0] << " with 1 player, " << result.games[1] << " with 2 players; boards played "
        << result.styles[0] << " guided, " << result.styles[1] << " random, " << result.styles[2] << " stacking, "
        << result.styles[3] << " idle\n";
    out << "memory:\n";
    for (const auto& cp : result.checkpoints)
        out << "  " << std::setw(3) << cp.percent << " %  frame " << std::setw(9) << cp.frame << "  "
            << std::setprecision(1) << std::setw(7) << cp.seconds << " s  VmHWM " << std::setw(7)
            << MegaBytes(cp.memory.hwmKb) << " MB  VmRSS " << std::setw(7) << MegaBytes(cp.memory.rssKb)
            << " MB  heap in use " << std::setw(7) << MegaBytes(cp.memory.heapKb) << " MB  old boards alive "
            << cp.oldBoardsAlive << "  particles " << cp.particles << '\n';
    if (result.checkpoints.size() == 3)
        out << "  RSS growth from 10 % to 100 %: " << std::setprecision(1)
            << MegaBytes(result.checkpoints[2].memory.rssKb - result.checkpoints[0].memory.rssKb) << " MB (allowed "
            << options.rssMarginMb << " MB)\n";
    out << "visits per state:\n";
    result.visits.Print(out);
    out << "digest: " << std::hex << result.digest << std::dec << '\n';
    out << (result.failure.empty() ? "PASS" : "FAIL: " + result.failure) << '\n';
}

}  // namespace virexo::soak

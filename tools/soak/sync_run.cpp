#include "tools/soak/sync_run.h"

#include <random>

#include "game/doc.h"
#include "game/globals.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"
#include "tools/soak/board_player.h"

namespace virexo::soak {

namespace {

// How long an end screen stays before a player leaves it.
constexpr int kEndScreenUpdates = 30;

std::uint8_t Bits(int key, int joy) {
    if (key < 0) return 0;
    if (key == teclaizquierda[joy]) return teclas::kIzquierda;
    if (key == tecladerecha[joy]) return teclas::kDerecha;
    if (key == teclaabajo[joy]) return teclas::kAbajo;
    if (key == teclaarriba[joy]) return teclas::kArriba;
    return 0;
}

}  // namespace

SyncRunResult RunSyncCheck(const SyncRunOptions& options, net::SyncCheck::Saver saver) {
    SyncRunResult result;
    net::SyncCheck check(options.depth, std::move(saver));
    std::mt19937 keys(options.seed);
    kestrel::SeedRnd(static_cast<std::int32_t>(options.seed));
    BoardPlayer players[2];
    int onEndScreen = 0;
    std::string last;
    estado = "menu";
    while (check.updates() < static_cast<std::uint64_t>(options.updates)) {
        if (estado == "menu") {
            // A new game: two players, a difficulty and a style each.
            check.Reset();
            jugadores = 2;
            eligedificultad(static_cast<int>(keys() % 3));
            for (auto& p : players) p.NewGame(static_cast<Style>(keys() % kStyles), static_cast<int>(keys() % 8));
            ++result.games;
            onEndScreen = 0;
        }
        if (estado != last && espantallafinal(estado)) ++result.ended;
        last = estado;
        TeclasJugadores bits{};
        if (estado == "juego") {
            for (const auto& board : tableros) {
                if (!board || !board->doc) continue;
                const int joy = board->doc->joy & 1;
                bits[static_cast<std::size_t>(joy)] = Bits(players[joy].NextKey(*board, keys), joy);
            }
        } else if (espantallafinal(estado) && ++onEndScreen > kEndScreenUpdates) {
            bits[0] = teclas::kPausa;
        }
        if (!check.Step(bits)) break;
    }
    result.updates = check.updates();
    result.reruns = check.reruns();
    result.mismatch = check.mismatch();
    return result;
}

void PrintSyncReport(const SyncRunOptions& options, const SyncRunResult& r, std::ostream& out) {
    out << "sync check: depth " << options.depth << ", seed " << options.seed << ": " << r.updates
        << " updates, " << r.reruns << " re-run, " << r.games << " games begun, " << r.ended << " ended, "
        << (r.mismatch ? 1 : 0) << " mismatches\n";
    if (r.mismatch) {
        out << "first mismatch after update " << r.mismatch->update << " re-run from " << r.mismatch->rerunDepth
            << " back: " << std::hex << r.mismatch->first << " first, " << r.mismatch->rerun << " re-run"
            << std::dec << "\n"
            << r.mismatch->difference;
    }
}

}  // namespace virexo::soak

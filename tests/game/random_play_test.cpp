// Long randomised play on one and two boards: random key presses every frame,
// the invariant checker after every frame, games restarted as they end. Also
// checks that a seeded game with the same keys plays out identically.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>

#include "game_fixture.h"

namespace virexo::testing {
namespace {

struct Stats {
    int frames = 0;
    int games = 0;
    int wins = 0;
    int losses = 0;
    int cleared = 0;
    int overflowThrows = 0;
    int chainLinks = 0;
};

class RandomPlay : public GameTest {
protected:
    std::shared_ptr<_tablero> boards[2];

    void NewGame() {
        // As the main program sets a game up.
        auto d0 = _doc::crea(0, 4.0f, 15.0f);
        if (jugadores == 1) {
            boards[0] = _tablero::crea(320.0f, 0.0f, 8, 16, d0);
            boards[1].reset();
            contbixo[0] = kestrel::Rand(0, 10);
        } else {
            auto d1 = _doc::crea(1, 4.0f, 15.0f);
            boards[0] = _tablero::crea(64.0f, 0.0f, 8, 16, d1);
            boards[1] = _tablero::crea(576.0f, 0.0f, 8, 16, d0);
            contbixo[0] = kestrel::Rand(0, 10);
            contbixo[1] = kestrel::Rand(0, 10);
        }
        estado = "juego";
    }

    // Random play of one game after another with the invariant checks.
    void Run(int players);

    // A simple player: with an empty hand it picks up; holding pieces it
    // walks toward a column whose lowest piece has the hand's colour, gathers
    // from it while the hand is small and throws there once it holds three,
    // now and then waiting a while first.
    // It never picks up where it threw last, which would only undo the throw.
    int GuidedKey(int p, const _tablero& b, std::mt19937& keys) {
        const _doc& d = *b.doc;
        const int joy = d.joy;
        if (d.fichas == 0) {
            if (static_cast<int>(d.x) == lastThrow[p] || keys() % 4 == 0)
                return keys() % 2 ? teclaizquierda[joy] : tecladerecha[joy];
            return teclaabajo[joy];
        }
        int best = -1;
        for (int i = 0; i < b.ancho; ++i) {
            for (int r = static_cast<int>(d.y) - 1; r >= 0; --r) {
                if (!b.celda(i, r).ficha) continue;
                if (b.celda(i, r).ficha->color == d.color &&
                    (best < 0 || std::abs(i - static_cast<int>(d.x)) < std::abs(best - static_cast<int>(d.x))))
                    best = i;
                break;
            }
        }
        if (best < 0) {  // no column to match: drop the hand somewhere
            if (keys() % 3 == 0) return teclaarriba[joy];
            return keys() % 2 ? teclaizquierda[joy] : tecladerecha[joy];
        }
        if (keys() % 8 == 0) return -1;
        if (keys() % 6 == 0) return keys() % 2 ? teclaizquierda[joy] : tecladerecha[joy];  // unstick
        if (best < static_cast<int>(d.x)) return teclaizquierda[joy];
        if (best > static_cast<int>(d.x)) return tecladerecha[joy];
        if (keys() % 6 == 0) return -1;  // now and then it waits
        bool plain = false;  // a virus at the bottom cannot be gathered
        for (int r = static_cast<int>(d.y) - 1; r >= 0; --r)
            if (const auto& f = b.celda(best, r).ficha) {
                plain = f->bixo == 0;
                break;
            }
        if (d.fichas < 3 && plain && best != lastThrow[p]) return teclaabajo[joy];  // gather more
        lastThrow[p] = best;
        return teclaarriba[joy];
    }

    bool guided = false;
    int lastThrow[2] = {-1, -1};
    int linea = 90;  // frames between pushed rows
    int lineas = 6;  // rows pushed at the start
    int bixo = 9;    // plain pieces between viruses

    // Plays `frames` frames; returns a digest of everything that happened.
    std::uint64_t Play(int players, int frames, std::uint32_t keySeed, Stats& st) {
        jugadores = players;
        periodobixo = bixo;
        periodolinea = linea;  // fast pushes: crowded boards and frequent ends
        lineasiniciales = lineas;
        std::mt19937 keys(keySeed);
        std::uint64_t digest = 1469598103934665603ull;
        auto mix = [&](std::uint64_t v) { digest = (digest ^ v) * 1099511628211ull; };
        NewGame();
        ++st.games;
        for (int f = 0; f < frames; ++f) {
            for (int p = 0; p < players; ++p) {
                const int joy = boards[p]->doc->joy;
                const int keyset[4] = {teclaizquierda[joy], tecladerecha[joy], teclaabajo[joy],
                                       teclaarriba[joy]};
                // Throws are rarer than the other keys, so hands stay full
                // while rows are pushed in under them.
                auto pick = [&] {
                    const unsigned r = keys() % 20;
                    return keyset[r < 7 ? 0 : r < 14 ? 1 : r < 19 ? 2 : 3];
                };
                if (guided) {
                    if (keys() % 2 != 0) continue;
                    if (const int key = GuidedKey(p, *boards[p], keys); key >= 0) Pulsa(key);
                    continue;
                }
                if (keys() % 3 == 0) Pulsa(pick());
                if (keys() % 17 == 0) Pulsa(pick());
            }
            int before[2] = {0, 0};
            int armed[2] = {0, 0};
            for (int p = 0; p < players; ++p) {
                before[p] = static_cast<int>(boards[p]->fichas->Count());
                armed[p] = boards[p]->limpieza && boards[p]->limpiacont == 0;
            }
            for (int p = 0; p < players; ++p) {
                const int inHand = boards[p]->doc->fichas;
                boards[p]->actualiza();
                const auto& d = *boards[p]->doc;
                if (inHand > 0 && d.fichas > 0 && d.fichas < inHand) ++st.overflowThrows;
            }
            _explota::actualizaTodo();
            ++st.frames;
            for (int p = 0; p < players; ++p) {
                const auto v = CompruebaInvariantes(*boards[p]);
                if (!v.empty()) {
                    ADD_FAILURE() << "frame " << f << " board " << p << ": " << v.front();
                    return digest;
                }
                const int after = static_cast<int>(boards[p]->fichas->Count());
                if (after < before[p]) st.cleared += before[p] - after;
                if (armed[p] && boards[p]->limpieza) ++st.chainLinks;
                for (const auto& c : boards[p]->casilla)
                    mix(c->ficha ? static_cast<std::uint64_t>(c->ficha->color * 2 + c->ficha->bixo + 1)
                                 : 0u);
                mix(static_cast<std::uint64_t>(boards[p]->doc->x));
            }
            // While the game runs, no piece stands in a thrower's row.
            for (int p = 0; p < players && estado == "juego"; ++p) {
                const _tablero& b = *boards[p];
                for (int i = 0; i < b.ancho; ++i)
                    if (b.celda(i, b.alto - 1).ficha) {
                        ADD_FAILURE() << "frame " << f << " board " << p << ": a piece in the thrower's row";
                        return digest;
                    }
            }
            if (estado != "juego") {
                if (estado.back() == 'b') ++st.wins;
                else ++st.losses;
                mix(std::hash<std::string>{}(estado));
                NewGame();
                ++st.games;
            }
        }
        return digest;
    }
};

void RandomPlay::Run(int players) {
    Stats st;
    kestrel::SeedRnd(20261208 + players);
    Play(players, 20000, 7u + static_cast<unsigned>(players), st);
    if (HasFailure()) return;
    std::cout << players << " player(s): " << st.frames << " frames, " << st.games << " games, "
              << st.wins << " won, " << st.losses << " lost, " << st.cleared << " pieces cleared, "
              << st.chainLinks << " chain links, " << st.overflowThrows
              << " throws kept pieces in hand\n";
    EXPECT_EQ(st.frames, 20000);
    EXPECT_GT(st.games, 10);
    EXPECT_GT(st.cleared, 0);
}

TEST_F(RandomPlay, OneBoardKeepsEveryInvariantOverThousandsOfFrames) { Run(1); }

TEST_F(RandomPlay, TwoBoardsKeepEveryInvariantOverThousandsOfFrames) { Run(2); }

TEST_F(RandomPlay, GuidedPlayKeepsEveryInvariantThroughClearsAndChains) {
    guided = true;
    linea = 240;
    Run(2);
}

TEST_F(RandomPlay, GuidedPlayAtMildDifficultyAlsoWins) {
    guided = true;
    linea = 600;
    lineas = 5;
    bixo = 11;
    Stats st;
    kestrel::SeedRnd(31);
    Play(1, 40000, 5u, st);
    std::cout << "mild: " << st.games << " games, " << st.wins << " won, " << st.losses
              << " lost, " << st.cleared << " pieces cleared, " << st.chainLinks << " chain links\n";
    EXPECT_GT(st.wins, 0);
}

TEST_F(RandomPlay, SeededGameWithTheSameKeysReplaysExactly) {
    Stats a, b, c;
    kestrel::SeedRnd(555);
    const auto first = Play(2, 3000, 42u, a);
    ReiniciaGlobales();
    kestrel::SeedRnd(555);
    const auto second = Play(2, 3000, 42u, b);
    ReiniciaGlobales();
    kestrel::SeedRnd(556);
    const auto other = Play(2, 3000, 42u, c);
    EXPECT_EQ(first, second);
    EXPECT_EQ(a.cleared, b.cleared);
    EXPECT_NE(first, other);
}

}  // namespace
}  // namespace virexo::testing

// The replay of an online game: its text round trip, its bounds against a
// malformed file, and that replaying the recorded keys of a game gives the
// very state the game ended in.
#include "game/net/online_replay.h"

#include <gtest/gtest.h>

#include "game/net/state_checksum.h"
#include "game/net/sync_check.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "tests/game/game_fixture.h"
#include "tools/soak/board_player.h"

namespace virexo::testing {
namespace {

class NetReplay : public GameTest {
protected:
    void TearDown() override {
        tableros = {};
        docs = {};
        GameTest::TearDown();
    }
};

TEST_F(NetReplay, ARecordedGameReplaysToTheSameStateAndTheFileIsSmallAndStrict) {
    // A game of two soak players, recorded as the online game records one.
    net::OnlineReplay rec{"1.2.3", 4242, 1, {}};
    kestrel::SeedRnd(static_cast<std::int32_t>(rec.seed));
    jugadores = 2;
    eligedificultad(rec.difficulty);
    std::mt19937 keys(3);
    soak::BoardPlayer players[2];
    players[0].NewGame(soak::Style::Guided);
    players[1].NewGame(soak::Style::Random);
    for (int u = 0; u < 4000 && estado != "menu"; ++u) {
        std::array<std::uint8_t, 2> bits{};
        if (estado == "juego") {
            for (const auto& b : tableros) {
                const int joy = b->doc->joy;
                const int k = players[joy].NextKey(*b, keys);
                bits[joy] = k == teclaizquierda[joy]   ? teclas::kIzquierda
                            : k == tecladerecha[joy]   ? teclas::kDerecha
                            : k == teclaabajo[joy]     ? teclas::kAbajo
                            : k == teclaarriba[joy]    ? teclas::kArriba
                                                       : 0;
            }
        }
        if (u == 1500) bits[1] |= teclas::kPausa;  // a pause, played on in the replay
        const TeclasJugadores t{bits[0], bits[1]};
        ponteclasdered(&t);
        actualizaestado();
        ponteclasdered(nullptr);
        if (estado == "pausa") reanudapartida();
        rec.keys.push_back(bits);
    }
    const std::uint64_t ended = net::GameChecksum(kestrel::RndSeed());
    const std::string endedText = net::DescribeGame(kestrel::RndSeed());
    const std::string text = rec.ToText();
    EXPECT_LT(text.size(), 12000u) << "4000 updates take a few kilobytes";

    std::string why;
    auto back = net::OnlineReplay::FromText(text, &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->keys, rec.keys);
    EXPECT_EQ(back->seed, rec.seed);
    // Another game in between, then the replay from scratch.
    kestrel::SeedRnd(1);
    eligedificultad(2);
    actualizaestado();
    EXPECT_EQ(net::RunReplayUpdates(*back, back->keys.size()), rec.keys.size());
    EXPECT_EQ(net::GameChecksum(kestrel::RndSeed()), ended)
        << net::DescribeDifference(endedText, net::DescribeGame(kestrel::RndSeed()));

    // Malformed files are refused with a reason, never half-read.
    for (const std::string& bad : {std::string("hello"), text.substr(0, text.size() / 2),
                                  text + "1 0 0\n", std::string("virexo-replay 1\nversion v\nseed 1\ndifficulty 3\nupdates 1\n1 0 0\n"),
                                  std::string("virexo-replay 1\nversion v\nseed 1\ndifficulty 0\nupdates 1\n1 20 0\n"),
                                  std::string("virexo-replay 1\nversion v\nseed 1\ndifficulty 0\nupdates 99999999999\n")}) {
        why.clear();
        EXPECT_FALSE(net::OnlineReplay::FromText(bad, &why));
        EXPECT_FALSE(why.empty());
    }
}

}  // namespace
}  // namespace virexo::testing

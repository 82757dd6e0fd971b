// The online game in the real program (through the replay harness, keys
// injected as platform key messages), with this test as the other machine:
// a bare session that sends and reads the messages by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <variant>

#include "game/doc.h"
#include "game/globals.h"
#include "game/net/enet_session.h"
#include "game/net/online_game.h"
#include "game/net/online_screens.h"
#include "game/option_rows.h"
#include "game/notice.h"
#include "game/play_mode.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/keys.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

using net::Message;
using net::NetEvent;

class OnlineGame : public ::testing::Test {
protected:
    void StartGame() {
        replay::Script script;
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
    }
    void TearDown() override { kestrel::RunExitHandlers(); }

    // The test hosts (peer), the game joins it and reaches its online title.
    ::testing::AssertionResult JoinAsGuest() {
        std::string why;
        peer = net::EnetSession::Host(0, {}, &why);
        if (!peer) return ::testing::AssertionFailure() << why;
        net::OnlineOptions options;
        options.role = net::Role::kGuest;
        options.target = "127.0.0.1:" + std::to_string(peer->port());
        if (!net::StartOnlineGame(options, &why)) return ::testing::AssertionFailure() << why;
        if (!RunUntil([&] { return Connected() && estado == "menu"; }))
            return ::testing::AssertionFailure() << "never connected";
        return ::testing::AssertionSuccess();
    }

    // One frame of the game, then the other machine's turn.
    void Step() {
        harness.Step();
        Service();
    }
    void Service() {
        peer->Service(0);
        while (auto e = peer->Next()) {
            if (e->kind == NetEvent::Kind::kMessage) got.push_back(e->message);
            else events.push_back(*e);
        }
    }
    // Steps (and keeps the game fed with keys) until done() holds; false
    // after `steps` frames without.
    template <typename Done>
    bool RunUntil(Done done, int steps = 3000) {
        for (int i = 0; i < steps; ++i) {
            if (done()) return true;
            Feed();
            Step();
            if (i % 50 == 49) usleep(1000);  // ENet's own timers need the clock to move
        }
        return done();
    }
    template <typename T>
    std::vector<T> Got() const {
        std::vector<T> out;
        for (const Message& m : got)
            if (auto* t = std::get_if<T>(&m)) out.push_back(*t);
        return out;
    }
    bool Connected() {
        for (const NetEvent& e : events)
            if (e.kind == NetEvent::Kind::kConnected) return true;
        return false;
    }

    // The other player's keys: sent in runs up to 100 updates ahead of the
    // game, so keys planned past what is sent still arrive in time.
    void Feed() {
        if (!feeding) return;
        const std::uint32_t until = net::OnlineGameStatus().matchFrame + 100;
        while (sentTo < until) {
            net::Input in;
            in.first = sentTo;
            while (in.keys.size() < net::kMaxInputRun && sentTo < until) {
                auto k = plan.find(sentTo);
                in.keys.push_back(k == plan.end() ? 0 : k->second);
                ++sentTo;
            }
            peer->Send(in);
        }
    }
    // Plans keys for the first update not yet sent; returns that update.
    std::uint32_t PlanNext(std::uint8_t bits) {
        plan[sentTo] = bits;
        return sentTo;
    }
    void BeginFeeding(int delay) {
        feeding = true;
        sentTo = static_cast<std::uint32_t>(delay);  // the first updates run without keys
        plan.clear();
    }

    replay::Harness harness;
    std::unique_ptr<net::EnetSession> peer;
    std::vector<Message> got;
    std::vector<NetEvent> events;
    bool feeding = false;
    std::uint32_t sentTo = 0;
    std::map<std::uint32_t, std::uint8_t> plan;
};

const net::OnlineStatus& Status() { return net::OnlineGameStatus(); }

TEST_F(OnlineGame, TheHostChoosesBothPlayThePausesAndResumesOfEitherAndLeavingThePauseEndsIt) {
    StartGame();
    if (IsSkipped()) return;  // no display
    net::OnlineOptions options;
    options.port = 0;
    options.rollback = false;  // this one is about the plain lockstep
    std::string why;
    ASSERT_TRUE(net::StartOnlineGame(options, &why)) << why;
    EXPECT_EQ(estado, "espera");
    peer = net::EnetSession::Join("127.0.0.1:" + std::to_string(Status().port), {}, &why);
    ASSERT_TRUE(peer) << why;
    ASSERT_TRUE(RunUntil([&] { return Connected() && estado == "menu"; }));

    // The host's title lists no versus game, and F4 starts none.
    ASSERT_NE(modoactual(), nullptr);
    EXPECT_EQ(modoactual()->opciones(), net::OnlineOptionRows(true));
    EXPECT_FALSE(modoactual()->opciones().titulo & kFilaVersus);
    harness.Press(kestrel::KEY_F4);
    for (int i = 0; i < 5; ++i) Step();
    EXPECT_EQ(estado, "menu");
    EXPECT_TRUE(Got<net::Choice>().empty());

    // F2 on the host's title: the difficulty, shown to the guest.
    harness.Press(kestrel::KEY_F2);
    ASSERT_TRUE(RunUntil([&] { return !Got<net::Choice>().empty(); }));
    EXPECT_EQ(estado, "dificultad");
    EXPECT_EQ(jugadores, 2);
    EXPECT_EQ(Got<net::Choice>().back().value, 1);

    // F1: Mild. The Start carries it, the seed and the delay.
    harness.Press(kestrel::KEY_F1);
    ASSERT_TRUE(RunUntil([&] { return !Got<net::Start>().empty(); }));
    const net::Start start = Got<net::Start>().back();
    EXPECT_EQ(start.difficulty, 0);
    EXPECT_EQ(start.players, 2);
    EXPECT_GE(start.delay, net::kMinDelay);
    EXPECT_LE(start.delay, net::kMaxDelay);
    EXPECT_EQ(periodobixo, 11);
    EXPECT_TRUE(Status().inMatch);
    BeginFeeding(start.delay);
    ASSERT_TRUE(RunUntil([&] { return estado == "juego"; }));
    ASSERT_TRUE(docs[0] && docs[1]);

    // The guest's keys walk the second player's thrower (the left board),
    // after exactly the update they were sent for.
    const float x0 = docs[0]->x, x1 = docs[1]->x;
    const std::uint32_t right = PlanNext(teclas::kDerecha);
    // (A game update may run two lockstep updates after a wait, so the
    // update before may pass unseen.)
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame >= right; }));
    if (Status().matchFrame == right) {
        EXPECT_EQ(docs[1]->x, x1);
    }
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame >= right + 1; }));
    EXPECT_EQ(docs[1]->x, x1 + 1);
    EXPECT_EQ(docs[0]->x, x0);

    // The guest's Escape pauses the host after that same update, and the
    // pause stops the lockstep.
    const std::uint32_t pause = PlanNext(teclas::kPausa);
    ASSERT_TRUE(RunUntil([&] { return estado == "pausa"; }));
    EXPECT_EQ(Status().matchFrame, pause + 1);
    for (int i = 0; i < 30; ++i) Step();
    EXPECT_EQ(Status().matchFrame, pause + 1);
    EXPECT_EQ(estado, "pausa");

    // The guest plays on: so does the host.
    peer->Send(net::Resume{pause + 1});
    ASSERT_TRUE(RunUntil([&] { return estado == "juego"; }, 200));

    // The guest pauses and plays on again before the host has even reached
    // that update: the host pauses there and plays on at once.
    const std::uint32_t early = PlanNext(teclas::kPausa);
    peer->Send(net::Resume{early + 1});
    Service();
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame > early + 5; }, 500));
    EXPECT_EQ(estado, "juego");

    // The host's Escape pauses (after its input delay); its Space plays on
    // and tells the guest.
    harness.Press(kestrel::KEY_ESCAPE);
    ASSERT_TRUE(RunUntil([&] { return estado == "pausa"; }, 200));
    harness.Press(kestrel::KEY_SPACE);
    ASSERT_TRUE(RunUntil([&] { return !Got<net::Resume>().empty(); }, 200));
    EXPECT_EQ(estado, "juego");

    // Every 30th update's checksum went to the guest, in order.
    const auto sums = Got<net::Checksum>();
    ASSERT_GE(sums.size(), 3u);
    for (std::size_t i = 0; i < sums.size(); ++i) EXPECT_EQ(sums[i].frame, 30 * i + 29);

    // Leaving from the pause ends the online game on both sides.
    harness.Press(kestrel::KEY_ESCAPE);
    ASSERT_TRUE(RunUntil([&] { return estado == "pausa"; }, 200));
    harness.Press(kestrel::KEY_ESCAPE);
    ASSERT_TRUE(RunUntil([&] { return modoactual() == nullptr; }, 20));
    EXPECT_EQ(estado, "menu");
    EXPECT_FALSE(Status().running);
    EXPECT_TRUE(aviso().empty());  // this player left: nothing to explain
    feeding = false;
    ASSERT_TRUE(RunUntil(
        [&] {
            for (const NetEvent& e : events)
                if (e.kind == NetEvent::Kind::kPeerLeft) return true;
            return false;
        },
        200));
    EXPECT_EQ(Status().drops.Total(), 0u);
}

TEST_F(OnlineGame, TheGuestFollowsTheHostsScreensAndGameAndReportsADesync) {
    StartGame();
    if (IsSkipped()) return;  // no display
    const std::string cache = ::testing::TempDir() + "online_game_cache_" + std::to_string(getpid());
    std::filesystem::remove_all(cache);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    ASSERT_TRUE(JoinAsGuest());

    // The host's choices show; the guest's own F keys choose nothing.
    peer->Send(net::Choice{0, 1});
    ASSERT_TRUE(RunUntil([&] { return estado == "dificultad"; }, 200));
    harness.Press(kestrel::KEY_F1);
    for (int i = 0; i < 5; ++i) Step();
    EXPECT_EQ(estado, "dificultad");
    EXPECT_TRUE(Got<net::Start>().empty());

    net::Start start;
    start.seed = 77;
    start.delay = 3;
    start.difficulty = 2;
    peer->Send(start);
    BeginFeeding(start.delay);
    ASSERT_TRUE(RunUntil([&] { return Status().inMatch; }, 200));
    EXPECT_EQ(periodobixo, 9);  // Severe
    EXPECT_EQ(Status().delay, 3);

    // A checksum that differs from the guest's own for update 29: both
    // sides exchange their states, the report holds both, and the guest is
    // back on its title saying so.
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame >= 30; }));
    peer->Send(net::Checksum{29, 12345});
    ASSERT_TRUE(RunUntil([&] { return !Got<net::Desync>().empty(); }, 200));
    EXPECT_EQ(Got<net::Desync>().back().frame, 29u);
    EXPECT_NE(Got<net::Desync>().back().dump.find("game: estado="), std::string::npos);
    peer->Send(net::Desync{29, 12345, "the test's own state\n"});
    ASSERT_TRUE(RunUntil([&] { return modoactual() == nullptr; }, 500));
    EXPECT_EQ(estado, "menu");
    EXPECT_EQ(aviso().rfind("The games went out of step", 0), 0u) << aviso();
    const std::string report = Status().desyncReport;
    ASSERT_EQ(report.rfind(cache, 0), 0u) << report;
    std::ifstream in(report);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("== other machine\nthe test's own state"), std::string::npos) << text.str();
    EXPECT_NE(aviso().find(report), std::string::npos);
    unsetenv("XDG_CACHE_HOME");
    std::filesystem::remove_all(cache);
}

// The guest's lists show exactly the keys its screens read: the keys of the
// lines it does not see do nothing, the help's (shown on the title, the one
// key left on the difficulty screen besides Escape) opens the help.
TEST_F(OnlineGame, TheGuestsListsShowTheKeysItsScreensRead) {
    StartGame();
    if (IsSkipped()) return;  // no display
    ASSERT_TRUE(JoinAsGuest());
    ASSERT_NE(modoactual(), nullptr);
    const OpcionesVisibles shown = modoactual()->opciones();
    EXPECT_EQ(shown, net::OnlineOptionRows(false));
    const std::pair<unsigned, int> title[] = {{kFilaUno, kestrel::KEY_F1}, {kFilaDos, kestrel::KEY_F2},
                                              {kFilaVersus, kestrel::KEY_F4}, {kFilaAyuda, kestrel::KEY_F3}};
    for (const auto& [row, key] : title) {
        harness.Press(key);
        for (int i = 0; i < 5; ++i) Step();
        EXPECT_EQ(estado, (shown.titulo & row) ? "ayuda" : "menu") << "key " << key;
        if (estado == "ayuda") {
            harness.Press(kestrel::KEY_ESCAPE);
            ASSERT_TRUE(RunUntil([&] { return estado == "menu"; }, 50));
        }
    }
    // On the host's difficulty screen the guest sees only ESC : Menu: its
    // F1 and F2 choose nothing, and F3 is the help, not Severe.
    peer->Send(net::Choice{0, 1});
    ASSERT_TRUE(RunUntil([&] { return estado == "dificultad"; }, 200));
    EXPECT_EQ(shown.dificultad, kFilaMenu);
    for (int key : {kestrel::KEY_F1, kestrel::KEY_F2}) {
        harness.Press(key);
        for (int i = 0; i < 5; ++i) Step();
        EXPECT_EQ(estado, "dificultad");
    }
    harness.Press(kestrel::KEY_F3);
    ASSERT_TRUE(RunUntil([&] { return estado == "ayuda"; }, 50));
    harness.Press(kestrel::KEY_ESCAPE);
    ASSERT_TRUE(RunUntil([&] { return estado == "dificultad"; }, 50));
    EXPECT_TRUE(Got<net::Start>().empty());
    EXPECT_TRUE(Got<net::Choice>().empty());
    // Escape: leaves, as its line says.
    harness.Press(kestrel::KEY_ESCAPE);
    ASSERT_TRUE(RunUntil([&] { return modoactual() == nullptr; }, 50));
    EXPECT_EQ(estado, "menu");
}

TEST_F(OnlineGame, TheNextGameWaitsUntilTheGuestHasLeftTheLastOnesEndScreen) {
    StartGame();
    if (IsSkipped()) return;  // no display
    ASSERT_TRUE(JoinAsGuest());

    net::Start first;
    first.seed = 5;
    peer->Send(first);
    BeginFeeding(first.delay);
    ASSERT_TRUE(RunUntil([&] { return estado == "juego"; }));
    // The game ends (as it would on both machines), and the host leaves the
    // end screen some updates ahead of where the guest is...
    estado = "fin21";
    const std::uint32_t leave = PlanNext(teclas::kPausa);
    Feed();
    feeding = false;
    // ...and starts the next game at once: its Start and keys reach the
    // guest while the guest still plays out the last one.
    peer->Send(net::Choice{0, 1});
    net::Start second;
    second.seed = 6;
    second.difficulty = 1;
    peer->Send(second);
    net::Input keys;
    keys.first = second.delay;
    keys.keys.assign(60, 0);
    peer->Send(keys);
    Service();
    EXPECT_EQ(Status().matches, 1u);

    ASSERT_TRUE(RunUntil([&] { return Status().matches == 2; }));
    EXPECT_EQ(Status().framesRun, leave + 1 + 0u);  // the last game ran to the update that left it
    EXPECT_EQ(periodobixo, 10);                      // the second game's difficulty
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame >= 62; }, 500));
    EXPECT_EQ(estado, "iniciajuego");
    EXPECT_EQ(Status().drops.Total(), 0u);  // none of the second game's keys were lost
}

// Updates that waited for the other player's keys are made up for once the
// keys come: two or three lockstep updates a game update, for at most 30 of
// them.
TEST_F(OnlineGame, AfterAWaitForTheOtherPlayersKeysTheGameMakesUpForIt) {
    StartGame();
    if (IsSkipped()) return;  // no display
    ASSERT_TRUE(JoinAsGuest());
    net::Start start;
    peer->Send(start);
    BeginFeeding(start.delay);
    ASSERT_TRUE(RunUntil([&] { return Status().matchFrame >= 40; }, 500));

    // The host's keys stop for `waits` game updates, then come again; the
    // lockstep updates run beyond one a game update while they catch up.
    const auto waitThenCatchUp = [&](int waits) {
        feeding = false;
        EXPECT_TRUE(RunUntil([&] { return Status().stalled; }, 500));
        const std::uint32_t stuck = Status().matchFrame;
        for (int i = 1; i < waits; ++i) Step();
        EXPECT_EQ(Status().matchFrame, stuck);
        feeding = true;
        EXPECT_TRUE(RunUntil([&] { return Status().matchFrame > stuck; }, 200));
        int steps = 1;
        for (; steps <= 80; ++steps) {
            Feed();
            Step();
        }
        return static_cast<int>(Status().matchFrame - stuck) - steps;
    };
    const int shortWait = waitThenCatchUp(10);
    EXPECT_GE(shortWait, 10);  // the ten waits (and any while the keys travelled)
    EXPECT_LE(shortWait, 14);
    // A long wait is made up for only up to half a second.
    EXPECT_EQ(waitThenCatchUp(50), 30);
    EXPECT_FALSE(Status().stalled);
}

// The guest may start before the host: it keeps knocking until the host is
// there.
TEST_F(OnlineGame, AGuestThatStartsFirstJoinsOnceTheHostIsThere) {
    StartGame();
    if (IsSkipped()) return;  // no display
    std::string why;
    // A port that was free a moment ago.
    std::uint16_t port = 0;
    {
        auto probe = net::EnetSession::Host(0, {}, &why);
        ASSERT_TRUE(probe) << why;
        port = probe->port();
    }
    net::OnlineOptions options;
    options.role = net::Role::kGuest;
    options.target = "127.0.0.1:" + std::to_string(port);
    options.session.connectTimeoutMs = 300;
    ASSERT_TRUE(net::StartOnlineGame(options, &why)) << why;
    const auto t0 = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - t0 < std::chrono::milliseconds(1200)) {
        harness.Step();
        usleep(2000);
    }
    EXPECT_EQ(estado, "espera");  // still knocking, several tries on
    ASSERT_NE(modoactual(), nullptr);

    peer = net::EnetSession::Host(port, {}, &why);
    ASSERT_TRUE(peer) << why;
    ASSERT_TRUE(RunUntil([&] { return Connected() && estado == "menu" && Status().connected; }, 5000));
}

}  // namespace
}  // namespace virexo

// The snapshots of the game state and the sync check over long soak play:
// every update rolled back 1, 4 and 12 updates and re-run must give the
// first run's checksums, and leaving a piece of state out of the snapshot on
// purpose must be caught.
#include "game/net/sync_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

#include "game/net/game_snapshot.h"
#include "game/net/state_checksum.h"
#include "game/screen_flow.h"
#include "tests/game/game_fixture.h"
#include "tools/soak/sync_run.h"

namespace virexo::testing {
namespace {

class NetSyncCheck : public GameTest {
protected:
    void TearDown() override {
        tableros = {};
        docs = {};
        GameTest::TearDown();
    }
    static std::uint64_t Sum() { return net::GameChecksum(kestrel::RndSeed()); }
};

TEST_F(NetSyncCheck, ASnapshotRestoresTheWholeGameAsOftenAsAsked) {
    kestrel::SeedRnd(99);
    jugadores = 2;
    eligedificultad(1);
    actualizaestado();  // creates the game
    ASSERT_TRUE(tableros[0] && tableros[1]);
    DaEnMano(*tableros[1], kRed, 3);
    _explota::crea(10, 20, nullptr, 0);
    const std::uint64_t before = Sum();
    const std::string described = net::DescribeGame(kestrel::RndSeed());
    const auto snap = net::GameSnapshot::Take();
    const std::size_t particles = listaexplota->Count();

    // Play on a while with both throwers busy, then put it back, twice.
    for (int round = 0; round < 2; ++round) {
        estado = "juego";
        const TeclasJugadores bits{teclas::kArriba, teclas::kAbajo | teclas::kDerecha};
        for (int i = 0; i < 200; ++i) {
            ponteclasdered(&bits);
            actualizaestado();
            ponteclasdered(nullptr);
        }
        contbixo[0] += 3;
        ASSERT_NE(Sum(), before);
        snap.Restore();
        EXPECT_EQ(Sum(), before) << "round " << round;
        EXPECT_EQ(net::DescribeGame(kestrel::RndSeed()), described);
        EXPECT_EQ(listaexplota->Count(), particles);
    }
    // The restored objects are linked as the live game's are: every cell's
    // piece is in its board's list, a carried piece is the thrower's and in
    // the list too, and the throwers are the boards'.
    for (std::size_t p = 0; p < 2; ++p) {
        _tablero& b = *tableros[p];
        EXPECT_EQ(b.doc->tablero.lock().get(), &b);
        EXPECT_TRUE(b.doc == docs[0] || b.doc == docs[1]);
        ExpectInvariantes(b);
        for (const auto& f : *b.doc->listafichas) {
            EXPECT_EQ(f->doc.lock(), b.doc);
            EXPECT_EQ(f->tablero.lock().get(), &b);
        }
    }
    EXPECT_EQ(tableros[1]->doc->listafichas->Count(), 3u);
    // Changing the restored game leaves the snapshot alone.
    tableros[0]->celda(0, 0).marcada = 2;
    snap.Restore();
    EXPECT_EQ(Sum(), before);
}

TEST_F(NetSyncCheck, EveryUpdateReRunAtDepthsOneFourAndTwelveMatchesItsFirstRun) {
    long ended = 0;
    for (int depth : {1, 4, 12}) {
        soak::SyncRunOptions o;
        o.depth = depth;
        o.updates = depth == 12 ? 4000 : 6000;
        o.seed = static_cast<std::uint32_t>(10 + depth);
        const soak::SyncRunResult r = soak::RunSyncCheck(o);
        std::ostringstream report;
        soak::PrintSyncReport(o, r, report);
        EXPECT_FALSE(r.mismatch) << report.str();
        EXPECT_EQ(r.updates, static_cast<std::uint64_t>(o.updates));
        // Every update but the first few of each game is re-run depth times.
        EXPECT_GT(r.reruns, r.updates * static_cast<std::uint64_t>(depth) * 9 / 10) << report.str();
        ended += r.ended;
        std::cout << report.str();
    }
    EXPECT_GE(ended, 2) << "the runs are to cover games played to their end";
}

// A snapshot that leaves one thing out is what the check is for: each of
// these is caught within a few games, with the state's differing lines.
TEST_F(NetSyncCheck, StateLeftOutOfTheSnapshotIsCaught) {
    std::vector<std::pair<const char*, net::SnapshotSaver>> savers;
    net::SnapshotSaver noCounters;
    noCounters.restore = [](const net::GameSnapshot& s) {
        const int a = contbixo[0], b = contbixo[1];
        s.Restore();
        contbixo[0] = a;
        contbixo[1] = b;
    };
    savers.emplace_back("contbixo", noCounters);
    net::SnapshotSaver noGenerator;
    noGenerator.restore = [](const net::GameSnapshot& s) {
        const std::int32_t r = kestrel::RndSeed();
        s.Restore();
        kestrel::SeedRnd(r);
    };
    savers.emplace_back("rng", noGenerator);
    net::SnapshotSaver noHand;  // the thrower's hand is not put back
    noHand.restore = [](const net::GameSnapshot& s) {
        int hands[2] = {docs[0] ? docs[0]->fichas : 0, docs[1] ? docs[1]->fichas : 0};
        s.Restore();
        for (int p = 0; p < 2; ++p)
            if (docs[static_cast<std::size_t>(p)]) docs[static_cast<std::size_t>(p)]->fichas = hands[p];
    };
    savers.emplace_back("fichas", noHand);
    for (auto& [word, saver] : savers) {
        soak::SyncRunOptions o;
        o.depth = 4;
        o.updates = 6000;
        o.seed = 5;
        const soak::SyncRunResult r = soak::RunSyncCheck(o, saver);
        ASSERT_TRUE(r.mismatch) << word << " left out went unnoticed over " << r.updates << " updates";
        EXPECT_LT(r.updates, 6000u) << word;
        EXPECT_NE(r.mismatch->first, r.mismatch->rerun);
        EXPECT_FALSE(r.mismatch->difference.empty()) << word;
        std::cout << word << " left out: caught after update " << r.mismatch->update << "\n";
    }
}

}  // namespace
}  // namespace virexo::testing

#include "game/net/rerun_sounds.h"
#include "toolkit/audio/audio.h"
#include "toolkit/audio/sdl/direct_sound_module.h"

namespace virexo::testing {
namespace {

// The sounds of an update run again: what its earlier run played is not
// played twice (the same channel comes back, so the music the game keeps a
// channel of stays the one playing), what only the re-run asks for plays.
TEST_F(NetSyncCheck, AReRunUpdatePlaysOnlyTheSoundsItsEarlierRunDidNot) {
    net::RerunSounds sounds;
    sounds.Begin(7);
    const TChannelPtr first = Suena(sndmover);
    const TChannelPtr second = Suena(sndmover);
    sounds.End();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(sounds.replaysSkipped(), 0u);

    // Run again (a rollback): the two moves were heard; a throw is new.
    sounds.Begin(7);
    EXPECT_EQ(Suena(sndmover), first);
    const TChannelPtr thrown = Suena(sndlanza);
    EXPECT_TRUE(thrown);
    EXPECT_NE(thrown, first);
    sounds.End();
    EXPECT_EQ(sounds.replaysSkipped(), 1u);
    // A third run asks for both moves and the throw: none plays again.
    sounds.Begin(7);
    EXPECT_EQ(Suena(sndmover), first);
    EXPECT_EQ(Suena(sndmover), second);
    EXPECT_EQ(Suena(sndlanza), thrown);
    sounds.End();
    EXPECT_EQ(sounds.replaysSkipped(), 4u);
    // Another update's sounds are its own; a forgotten update plays anew.
    sounds.Begin(8);
    EXPECT_NE(Suena(sndmover), first);
    sounds.End();
    sounds.Forget(8);
    sounds.Begin(7);
    EXPECT_NE(Suena(sndmover), first);
    sounds.End();
    // Outside a run the gate is gone.
    EXPECT_NE(Suena(sndmover), first);
    EXPECT_EQ(sounds.replaysSkipped(), 4u);
}

}  // namespace
}  // namespace virexo::testing

namespace virexo::testing {
namespace {

// The music through corrections of a game's end: one the real keys make
// again keeps its end music playing; one they undo stops the end music, and
// the game's own music plays again.
TEST_F(NetSyncCheck, ACorrectionLeavesTheMusicOfWhereTheGameStands) {
    using kestrel::ChannelPlaying;
    // Channels that play for real (the fixture's "Null" ones never do):
    // the game's driver, on SDL's silent device; the music loops, as the
    // game's tracks do.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    kestrel::sdl::InitDirectSoundAudio();
    ASSERT_EQ(kestrel::SetAudioDriver("DirectSound"), 1);
    for (TSoundPtr* s : {&sndingame, &sndgameover, &sndfallo})
        *s = kestrel::LoadSound(kestrel::CreateAudioSample(22050, 22050, kestrel::SF_MONO16LE), kestrel::SOUND_LOOP);
    kestrel::SeedRnd(3);
    jugadores = 2;
    eligedificultad(1);
    actualizaestado();  // creates the game
    estado = "juego";
    canalmusica = Suena(sndingame);
    const TChannelPtr game = canalmusica;
    ASSERT_TRUE(game && ChannelPlaying(game));
    const auto snap = net::GameSnapshot::Take();
    net::RerunSounds sounds;

    // On a prediction, the update ends the game.
    sounds.Begin(1);
    tableros[0]->finDePartida(false);
    sounds.End();
    const TChannelPtr end = canalmusica;
    ASSERT_NE(end, game);
    EXPECT_FALSE(ChannelPlaying(game));
    ASSERT_TRUE(ChannelPlaying(end));

    // The real keys end it too.
    TChannelPtr before = canalmusica;
    snap.Restore();
    sounds.Begin(1);
    tableros[0]->finDePartida(false);
    sounds.End();
    net::SettleMusicAfterCorrection(before);
    EXPECT_EQ(canalmusica, end);
    EXPECT_TRUE(ChannelPlaying(end)) << "the end music stopped by its own re-run";

    // A later correction undoes the end: the game plays on, with its music.
    before = canalmusica;
    snap.Restore();
    sounds.Begin(1);
    sounds.End();
    net::SettleMusicAfterCorrection(before);
    EXPECT_EQ(estado, "juego");
    EXPECT_FALSE(ChannelPlaying(end)) << "the end music of an undone end";
    EXPECT_NE(canalmusica, end);
    EXPECT_TRUE(canalmusica && ChannelPlaying(canalmusica)) << "no music after an undone end";
    // A correction that changes nothing leaves the music alone.
    const TChannelPtr now = canalmusica;
    net::SettleMusicAfterCorrection(now);
    EXPECT_EQ(canalmusica, now);
    EXPECT_TRUE(ChannelPlaying(now));
}

}  // namespace
}  // namespace virexo::testing

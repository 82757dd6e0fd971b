// The program's screen flow, driven frame by frame through the replay
// harness: real frames, keys injected as platform key messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/doc.h"
#include "game/game_io.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/random.h"
#include "tools/replay/replay.h"
#include "game/ficha.h"

namespace virexo {
namespace {

constexpr int kEscape = 27, kSpace = 32, kF1 = 112, kF2 = 113, kLeft = 37;

// The colours of the five initial rows of a one-player game whose title was
// left with this seed: nothing draws a random number between the seeding
// and the pieces of the first rows.
std::string ExpectedInitialColours(int seed) {
    kestrel::SeedRnd(seed);
    std::string colours;
    for (int i = 0; i < 40; ++i) colours += std::to_string(kestrel::Rand(0, 5));
    return colours;
}

replay::Script Keys(std::vector<replay::KeyPress> presses, std::optional<int> seed = {}) {
    replay::Script script;
    script.presses = std::move(presses);
    script.seed = seed;
    return script;
}

class Program : public ::testing::Test {
protected:
    // Starts the game once in this process (each test runs in a process of
    // its own under CTest) with the given key presses scripted.
    void StartWith(replay::Script script) {
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        ObservaSonidos([this](const TSoundPtr& s) {
            if (s && s == sndclick) ++clicks;
        });
    }
    // Runs frames until the harness has run `frame` frames.
    void RunTo(int frame) {
        while (harness.frame() < frame) harness.Step();
    }
    // Ends the program's part of the process the way End() does, while the
    // toolkit's state is still alive (static destruction comes later).
    void TearDown() override {
        ObservaSonidos(nullptr);
        kestrel::RunExitHandlers();
    }
    replay::Harness harness;
    int clicks = 0;
};

TEST_F(Program, F1AndF2InOneFrameTakeOnePlayerAndTheDifficultyCreatesAGameAFrameLater) {
    StartWith(Keys({{2, kF1}, {2, kF2}, {4, kF2}}));
    RunTo(1);
    EXPECT_EQ(estado, "menu");
    RunTo(2);
    EXPECT_EQ(estado, "dificultad");
    EXPECT_EQ(jugadores, 1);
    EXPECT_EQ(clicks, 1);
    RunTo(3);
    EXPECT_EQ(estado, "dificultad");  // the F2 of frame 2 was flushed
    RunTo(4);                          // F2 on the difficulty screen: Normal
    EXPECT_EQ(estado, "creapartida");
    EXPECT_EQ(periodobixo, 10);
    EXPECT_EQ(periodolinea, 540);
    EXPECT_EQ(lineasiniciales, 6);
    EXPECT_EQ(tableros[0], nullptr);  // that frame shows the backdrop only
    RunTo(5);
    EXPECT_EQ(estado, "iniciajuego");
    ASSERT_NE(tableros[0], nullptr);
    EXPECT_EQ(tableros[1], nullptr);
    EXPECT_FLOAT_EQ(tableros[0]->osx, 320.0f);
    EXPECT_EQ(tableros[0]->doc, docs[0]);
    EXPECT_EQ(clicks, 3);
}

TEST_F(Program, GetReadyIsDrawnIn181FramesThenPlayBeginsWithItsMusic) {
    StartWith(Keys({{2, kF1}, {3, kF1}}));
    RunTo(4);
    ASSERT_EQ(estado, "iniciajuego");
    int readyFrames = 1;  // frame 4 created the game and drew the get-ready screen
    while (estado == "iniciajuego" && readyFrames < 400) {
        harness.Step();
        if (estado == "iniciajuego") ++readyFrames;
    }
    EXPECT_EQ(readyFrames, 181);
    EXPECT_EQ(estado, "juego");
    EXPECT_EQ(tiempo, 0.0f);
    ASSERT_NE(canalmusica, nullptr);
}

TEST_F(Program, EscapeDuringGetReadyPausesOnTheFirstPlayFrameAndPauseFreezesTheGame) {
    StartWith(Keys({{2, kF1}, {3, kF1}, {50, kEscape}}));
    int frame = 4;
    RunTo(frame);
    while (estado == "iniciajuego") RunTo(++frame);
    EXPECT_EQ(estado, "juego");
    RunTo(++frame);
    EXPECT_EQ(estado, "pausa");  // the held-over Escape hit is read in the first play frame
    EXPECT_FLOAT_EQ(tiempo, 1.0f / 60.0f);

    const float frozen = tiempo;
    const int pushCount = tableros[0]->lineacont;
    RunTo(frame + 30);
    EXPECT_EQ(estado, "pausa");
    EXPECT_EQ(tiempo, frozen);
    EXPECT_EQ(tableros[0]->lineacont, pushCount);
}

TEST_F(Program, TwoPlayersStandOnTheQuarterLinesFirstPlayerOnTheRight) {
    StartWith(Keys({{2, kF2}, {3, kF1}}));
    RunTo(4);
    ASSERT_EQ(estado, "iniciajuego");
    EXPECT_EQ(jugadores, 2);
    ASSERT_NE(tableros[0], nullptr);
    ASSERT_NE(tableros[1], nullptr);
    EXPECT_FLOAT_EQ(tableros[0]->osx, 64.0f);
    EXPECT_FLOAT_EQ(tableros[1]->osx, 576.0f);
    EXPECT_EQ(tableros[0]->doc, docs[1]);  // W A S D on the left
    EXPECT_EQ(tableros[1]->doc, docs[0]);  // arrows on the right
}

TEST_F(Program, SpacePressedDuringPlayReturnsTheEndScreenToTheTitleAtOnce) {
    StartWith(Keys({{2, kF1}, {3, kF1}, {200, kSpace}, {201, kLeft}}));
    RunTo(202);
    ASSERT_EQ(estado, "juego");
    // Overrun the board: rows pushed in reach the loss line.
    for (int i = 0; i < 20 && estado == "juego"; ++i) tableros[0]->ponlinea();
    ASSERT_EQ(estado, "fin10");
    RunTo(203);
    EXPECT_EQ(estado, "menu");
}

TEST_F(Program, TheSeedNamedByTheScriptMakesTheGameReproducible) {
    StartWith(Keys({{2, kF1}, {3, kF1}}, 99));
    RunTo(4);
    ASSERT_NE(tableros[0], nullptr);
    std::string colours;
    for (const auto& f : *tableros[0]->fichas) colours += std::to_string(f->color);
    EXPECT_EQ(colours.size(), 40u);  // five initial rows of eight
    // The same draws again from the same seed, outside the game.
    EXPECT_EQ(colours, ExpectedInitialColours(99));
}

}  // namespace
}  // namespace virexo

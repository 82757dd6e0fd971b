// The game against the computer through the screen flow, frame by frame on
// a real window with keys injected as platform key messages.
#include <gtest/gtest.h>

#include <string>

#include "game/computer/computer_player.h"
#include "game/computer/versus.h"
#include "game/doc.h"
#include "game/game_io.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/keys.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

using namespace kestrel;

class VersusFlow : public ::testing::Test {
protected:
    void Start(std::vector<replay::KeyPress> presses) {
        replay::Script script;
        script.presses = std::move(presses);
        script.seed = 4242;
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        ObservaSonidos([this](const TSoundPtr& s) {
            if (s && s == sndclick) ++clicks;
        });
    }
    void RunTo(int frame) {
        while (harness.frame() < frame) harness.Step();
    }
    void TearDown() override {
        ObservaSonidos(nullptr);
        RunExitHandlers();
    }
    replay::Harness harness;
    int clicks = 0;
};

// F4 on the title, the strength, the difficulty: a two-board game in which
// the computer walks the left thrower while the left player's keys do
// nothing and the arrows still walk the right one; Escape pauses and
// leaves as in any game, and a two-player game after it is the players'
// own again.
TEST_F(VersusFlow, TheTitlesF4LeadsToAGameAgainstTheComputerOnTheLeftBoard) {
    Start({{2, KEY_F4}, {3, KEY_ESCAPE}, {4, KEY_F4}, {5, KEY_F3}, {6, KEY_F1}});
    RunTo(2);
    EXPECT_EQ(estado, "rival");
    EXPECT_EQ(clicks, 1);
    RunTo(3);
    EXPECT_EQ(estado, "menu");  // Escape goes back
    RunTo(5);
    EXPECT_EQ(estado, "dificultad");
    EXPECT_EQ(computer::ChosenStrength(), computer::Strength::kHard);
    RunTo(7);
    ASSERT_EQ(estado, "iniciajuego");
    EXPECT_EQ(jugadores, 2);
    ASSERT_NE(computer::Opponent(), nullptr);
    EXPECT_EQ(computer::Opponent()->strength(), computer::Strength::kHard);
    EXPECT_EQ(periodolinea, 600);  // Mild
    while (estado == "iniciajuego") harness.Step();
    ASSERT_EQ(estado, "juego");

    // The left player's keys are not read for the left thrower any more.
    const float leftBefore = docs[1]->x;
    const float rightBefore = docs[0]->x;
    int f = harness.frame();
    harness.Press(KEY_A);
    harness.Press(KEY_A);
    harness.Press(KEY_LEFT);
    RunTo(f + 1);
    EXPECT_EQ(docs[1]->x, leftBefore);  // the computer is still reacting
    EXPECT_EQ(docs[0]->x, rightBefore - 1.0f);
    // Within a second the computer walks or picks up.
    bool acted = false;
    for (int i = 0; i < 60 && !acted; ++i) {
        harness.Step();
        acted = docs[1]->x != leftBefore || docs[1]->fichas > 0 || tableros[0]->limpieza != 0;
    }
    EXPECT_TRUE(acted);

    f = harness.frame();
    harness.Press(KEY_ESCAPE);
    RunTo(f + 1);
    if (estado == "juego") GTEST_SKIP() << "the game ended before the pause";
    ASSERT_EQ(estado, "pausa");
    harness.Press(KEY_ESCAPE);
    RunTo(f + 2);
    EXPECT_EQ(estado, "menu");

    // Then an ordinary two-player game: W A S D walk the left thrower.
    harness.Press(KEY_F2);
    RunTo(f + 3);
    harness.Press(KEY_F1);
    RunTo(f + 5);
    ASSERT_EQ(estado, "iniciajuego");
    EXPECT_EQ(computer::Opponent(), nullptr);
    while (estado == "iniciajuego") harness.Step();
    const float left = docs[1]->x;
    harness.Press(KEY_A);
    harness.Step();
    EXPECT_EQ(docs[1]->x, left - 1.0f);
}

}  // namespace
}  // namespace virexo

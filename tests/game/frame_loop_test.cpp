// The game's frame loop on a real window: a slow frame runs the updates it
// missed, each seeing only the keys pressed up to its own moment, and the
// pause keeps game time frozen however many updates a frame runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "game/doc.h"
#include "game/globals.h"
#include "game/program.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "tools/replay/replay.h"
#include "tools/replay/sdl/key_injection.h"

namespace virexo {
namespace {

using namespace kestrel;
constexpr std::int64_t kStep = 1000000 / 60;

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        replay::Script script;
        script.frames = 1 << 30;
        script.seed = 5;
        script.presses = {{2, KEY_F1}, {3, KEY_F1}};  // one player, mild
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        while (estado != "juego" && harness.frame() < 400) harness.Step();
        ASSERT_EQ(estado, "juego");
        // Nothing left in the queue, then a frame that starts the loop's clock.
        for (int i = 0; i < 5; ++i) harness.Step();
        reiniciareloj();
        t0 = kestrel::SteadyMicros();
        ASSERT_EQ(fotogramajuego(t0), 1);
    }
    void TearDown() override { kestrel::RunExitHandlers(); }

    replay::Harness harness;
    std::int64_t t0 = 0;
};

TEST_F(FrameLoop, TwoTapsInsideOneSlowFrameMoveTheThrowerTwoCells) {
    const float x = docs[0]->x;
    ASSERT_LE(x, 5.0f);
    // Two taps of Right, in the first and second sixtieth after t0; the
    // next frame comes 50 ms after t0 and runs three updates.
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_RIGHT, t0 + 3000, t0 + 6000));
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_RIGHT, t0 + 20000, t0 + 24000));
    const float time = tiempo;
    EXPECT_EQ(fotogramajuego(t0 + 3 * kStep), 3);
    EXPECT_FLOAT_EQ(docs[0]->x, x + 2.0f);
    EXPECT_NEAR(tiempo - time, 3.0f / 60.0f, 1e-5f);
}

TEST_F(FrameLoop, AKeyPressedAndReleasedInsideOneUpdateStillCounts) {
    const float x = docs[0]->x;
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_RIGHT, t0 + 18000, t0 + 19000));
    EXPECT_EQ(fotogramajuego(t0 + 4 * kStep), 4);
    EXPECT_FLOAT_EQ(docs[0]->x, x + 1.0f);
}

TEST_F(FrameLoop, TwoTapsWithEqualTimesReachTwoUpdates) {
    // Both taps stamped with the same moment, as events read in one pump
    // without times of their own: one update takes the first, the next
    // update (the next frame's) the second.
    const float x = docs[0]->x;
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_RIGHT, t0 + 3000, t0 + 3000));
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_RIGHT, t0 + 3000, t0 + 3000));
    EXPECT_EQ(fotogramajuego(t0 + kStep), 1);
    EXPECT_FLOAT_EQ(docs[0]->x, x + 1.0f);
    EXPECT_EQ(fotogramajuego(t0 + 2 * kStep), 1);
    EXPECT_FLOAT_EQ(docs[0]->x, x + 2.0f);
    // The replay harness: two taps scripted for one step reach two steps.
    ASSERT_TRUE(replay::sdl::InjectKeyTap(KEY_LEFT));
    ASSERT_TRUE(replay::sdl::InjectKeyTap(KEY_LEFT));
    harness.Step();
    EXPECT_FLOAT_EQ(docs[0]->x, x + 1.0f);
    harness.Step();
    EXPECT_FLOAT_EQ(docs[0]->x, x);
}

TEST_F(FrameLoop, PauseReachedInACatchUpFrameFreezesTimeForItsRemainingUpdates) {
    // Escape in the first sixtieth: the first update pauses, the five after
    // it run the pause screen, which moves neither time nor the row timer.
    ASSERT_TRUE(replay::sdl::InjectKeyTapAt(KEY_ESCAPE, t0 + 2000, t0 + 4000));
    const float time = tiempo;
    const int rows = tableros[0]->lineacont;
    EXPECT_EQ(fotogramajuego(t0 + 6 * kStep), 6);
    EXPECT_EQ(estado, "pausa");
    EXPECT_NEAR(tiempo - time, 1.0f / 60.0f, 1e-5f);
    EXPECT_EQ(tableros[0]->lineacont, rows - 1);
    // A long stall in the pause changes nothing either.
    EXPECT_EQ(fotogramajuego(t0 + 5 * 1000000), 6);
    EXPECT_EQ(estado, "pausa");
    EXPECT_NEAR(tiempo - time, 1.0f / 60.0f, 1e-5f);
    EXPECT_EQ(tableros[0]->lineacont, rows - 1);
}

}  // namespace
}  // namespace virexo

// The frame loop's clock driven by a fake clock: how many 1/60 s updates
// each drawn frame runs at steady, late, stalled and early frame times.
#include <gtest/gtest.h>

#include <vector>

#include "toolkit/system/fixed_step_clock.h"

namespace kestrel {
namespace {

constexpr std::int64_t kSecond = 1000000;

// Runs frames at the given intervals (µs) and returns the updates of each.
std::vector<int> Frames(FixedStepClock& clock, std::int64_t& now, const std::vector<std::int64_t>& gaps) {
    std::vector<int> steps;
    for (std::int64_t gap : gaps) {
        now += gap;
        steps.push_back(clock.BeginFrame(now));
    }
    return steps;
}

TEST(FixedStepClock, SteadySixtyHertzWithJitterRunsExactlyOneUpdateAFrame) {
    FixedStepClock clock;
    std::int64_t now = 5 * kSecond;
    EXPECT_EQ(clock.BeginFrame(now), 1);  // the first frame
    // Timer jitter of up to ±2 ms around 16 667 µs, never accumulating.
    const std::int64_t jitter[] = {0, 1800, -1900, 700, -300, 2000, -2000, 100};
    for (int i = 0; i < 3600; ++i) {
        const std::int64_t due = 5 * kSecond + (i + 1) * kSecond / 60;
        const int n = clock.BeginFrame(due + jitter[i % 8]);
        ASSERT_EQ(n, 1) << "frame " << i;
    }
    EXPECT_EQ(clock.steps(), 3601);
    EXPECT_EQ(clock.forgivenUs(), 0);
}

TEST(FixedStepClock, LateFramesCatchUpSoGameTimeKeepsToWallTime) {
    for (const std::int64_t interval : {20000LL, 40000LL, 83333LL, 100000LL}) {
        FixedStepClock clock;
        std::int64_t now = 0;
        clock.BeginFrame(now);
        int most = 0;
        const int frames = static_cast<int>(60 * kSecond / interval);  // a minute
        for (int i = 0; i < frames; ++i) {
            now += interval;
            most = std::max(most, clock.BeginFrame(now));
        }
        // Game time is the wall time since the first frame's slot began,
        // within half a step.
        const double game = clock.steps() / 60.0;
        const double wall = (now + kSecond / 60) / 1e6;
        EXPECT_NEAR(game, wall, 0.5 / 60) << interval;
        EXPECT_EQ(clock.forgivenUs(), 0) << interval;
        EXPECT_LE(most, FixedStepClock::kMaxSteps) << interval;
    }
}

TEST(FixedStepClock, BelowTenFramesASecondTheGameSlowsInsteadOfSpiralling) {
    FixedStepClock clock;
    std::int64_t now = 0;
    clock.BeginFrame(now);
    // 5 drawn frames a second: every frame runs the most, six.
    const auto steps = Frames(clock, now, std::vector<std::int64_t>(50, 200000));
    for (int n : steps) EXPECT_EQ(n, FixedStepClock::kMaxSteps);
    EXPECT_EQ(clock.steps(), 1 + 50 * 6);  // half speed: 5 s of game in 10 s
    EXPECT_GT(clock.forgivenUs(), 0);
    // Back to 60 a second: one update a frame at once, no debt paid later.
    const auto after = Frames(clock, now, std::vector<std::int64_t>(20, kSecond / 60));
    for (int n : after) EXPECT_EQ(n, 1);
}

TEST(FixedStepClock, ALongStallRunsSixUpdatesAndForgivesTheRest) {
    FixedStepClock clock;
    std::int64_t now = 0;
    clock.BeginFrame(now);
    Frames(clock, now, std::vector<std::int64_t>(10, kSecond / 60));
    const std::int64_t before = clock.steps();
    now += 3 * kSecond;  // a window dragged for three seconds
    EXPECT_EQ(clock.BeginFrame(now), 6);
    EXPECT_EQ(clock.steps(), before + 6);
    EXPECT_NEAR(static_cast<double>(clock.forgivenUs()), 3e6 - 6e6 / 60, 20.0);
    // The next frames are on time again.
    for (int n : Frames(clock, now, std::vector<std::int64_t>(5, kSecond / 60))) EXPECT_EQ(n, 1);
}

TEST(FixedStepClock, EarlyFramesRunNoUpdateOnceTheGameIsAhead) {
    FixedStepClock clock;
    std::int64_t now = 0;
    clock.BeginFrame(now);
    // An unpaced 120 Hz display: every other frame runs one update.
    const auto steps = Frames(clock, now, std::vector<std::int64_t>(240, kSecond / 120));
    int updates = 0;
    for (int n : steps) {
        EXPECT_LE(n, 1);
        updates += n;
    }
    EXPECT_NEAR(updates, 120, 1);
}

TEST(FixedStepClock, StepMomentsAreTheEndsOfTheUpdatesSlotsAndResetStartsAgain) {
    FixedStepClock clock;
    clock.BeginFrame(1000000);
    EXPECT_EQ(clock.StepMoment(0), 1000000);
    ASSERT_EQ(clock.BeginFrame(1000000 + 50000), 3);
    EXPECT_NEAR(static_cast<double>(clock.StepMoment(0)), 1000000 + 16667, 1);
    EXPECT_NEAR(static_cast<double>(clock.StepMoment(1)), 1000000 + 33333, 1);
    EXPECT_NEAR(static_cast<double>(clock.StepMoment(2)), 1000000 + 50000, 1);
    clock.Reset();
    EXPECT_EQ(clock.BeginFrame(9000000), 1);
    EXPECT_EQ(clock.steps(), 1);
}

}  // namespace
}  // namespace kestrel

// Frame pacing on a simulated clock: the windowed timer pacing, and the
// 60-a-second guard of vsync flips against displays of other rates and
// swaps that return at once.
#include "toolkit/graphics/frame_pacing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kestrel {
namespace {

TEST(SoftSync, SixtyHertzIs16And17And17AndDoesNotHurryAfterAStall) {
    SoftSync s;
    s.Start(60, 5000);
    EXPECT_EQ(s.period, 16);
    EXPECT_EQ(s.fraction, 40);
    std::int32_t now = 5000;
    std::vector<int> waits;
    for (int i = 0; i < 60; ++i) {
        const int w = s.NextWait(now);
        waits.push_back(w);
        now += w;  // the frame itself takes no time
    }
    EXPECT_EQ(now - 5000, 1000);
    EXPECT_EQ((std::vector<int>(waits.begin(), waits.begin() + 6)),
              (std::vector<int>{16, 17, 17, 16, 17, 17}));

    // A frame 100 ms late does not wait, and the next is not hurried.
    now += 100;
    EXPECT_EQ(s.NextWait(now), 0);
    EXPECT_GE(s.NextWait(now), 16);

    // The schedule survives the millisecond clock wrapping.
    SoftSync w;
    w.Start(60, 0x7FFFFFF0);
    std::int32_t t = 0x7FFFFFF0;
    for (int i = 0; i < 3; ++i) {
        const int wait = w.NextWait(t);
        EXPECT_GE(wait, 16);
        EXPECT_LE(wait, 17);
        t = static_cast<std::int32_t>(static_cast<std::uint32_t>(t) + static_cast<std::uint32_t>(wait));
    }
}

struct PacedRun {
    std::vector<std::int64_t> returns;  // when each swap returned (µs)
    std::int64_t slept = 0;             // total sleep after the warm-up frames
    double fps = 0;                     // over the frames after the warm-up
};

// Frames of renderUs work, each followed by a vsync flip. displayPeriodUs 0:
// the swap returns at once; otherwise it blocks until the next refresh.
PacedRun Simulate(std::int64_t displayPeriodUs, int frames, std::int64_t renderUs,
             std::int64_t stallAtFrame = -1, std::int64_t stallUs = 0) {
    constexpr int kWarmUp = 10;
    VsyncPacer pacer;
    PacedRun run;
    std::int64_t t = 1'000'003;
    for (int i = 0; i < frames; ++i) {
        t += renderUs;
        if (i == stallAtFrame) t += stallUs;
        const std::int64_t wait = pacer.BeforeSwap(t);
        if (i >= kWarmUp) run.slept += wait;
        t += wait;
        const std::int64_t start = t;
        if (displayPeriodUs) t = (t / displayPeriodUs + 1) * displayPeriodUs;
        pacer.AfterSwap(start, t);
        run.returns.push_back(t);
    }
    const double span = static_cast<double>(run.returns.back() - run.returns[kWarmUp]);
    run.fps = (frames - 1 - kWarmUp) * 1e6 / span;
    return run;
}

TEST(VsyncPacer, InstantSwapsRunAtSixtyFrames) {
    const PacedRun r = Simulate(0, 61, 0);
    // 60 frames after the first take one second.
    const std::int64_t second = r.returns[60] - r.returns[0];
    EXPECT_NEAR(static_cast<double>(second), 1e6, 20.0);
    EXPECT_NEAR(Simulate(0, 610, 3000).fps, 60.0, 0.05);
}

TEST(VsyncPacer, FasterDisplaysAreHeldToSixty) {
    for (std::int64_t hz : {75, 120, 144, 240}) {
        SCOPED_TRACE(hz);
        const PacedRun r = Simulate(1'000'000 / hz, 1210, 2000);
        EXPECT_NEAR(r.fps, 60.0, 0.3);
        // No frame comes sooner than one refresh of the display.
        for (std::size_t i = 11; i < r.returns.size(); ++i)
            EXPECT_GE(r.returns[i] - r.returns[i - 1], 1'000'000 / hz - 1);
    }
}

TEST(VsyncPacer, ARealSixtyHertzSyncAddsNothing) {
    for (std::int64_t periodUs : {16667, 16683}) {  // 60 Hz and 59.94 Hz
        SCOPED_TRACE(periodUs);
        const PacedRun r = Simulate(periodUs, 600, 500);
        EXPECT_EQ(r.slept, 0);
        // Every refresh shows a new frame: none is missed.
        for (std::size_t i = 11; i < r.returns.size(); ++i)
            EXPECT_EQ(r.returns[i] - r.returns[i - 1], periodUs);
    }
    // With more work per frame the display still sets the pace: 60 frames
    // a second and no missed refresh.
    const PacedRun busy = Simulate(16667, 600, 6000);
    EXPECT_NEAR(busy.fps, 60.0, 0.3);
    int missed = 0;
    for (std::size_t i = 11; i < busy.returns.size(); ++i)
        missed += busy.returns[i] - busy.returns[i - 1] > 16667;
    EXPECT_LE(missed, 1);
}

TEST(VsyncPacer, SlowerDisplaysAreNotSlowedFurther) {
    const PacedRun r = Simulate(20000, 300, 1000);  // 50 Hz
    EXPECT_EQ(r.slept, 0);
    EXPECT_NEAR(r.fps, 50.0, 0.01);
}

TEST(VsyncPacer, AStallIsNotMadeUpByHurrying) {
    const PacedRun r = Simulate(0, 100, 1000, 50, 200'000);
    // The frames after the stall keep their full period.
    for (std::size_t i = 52; i < r.returns.size(); ++i)
        EXPECT_GE(r.returns[i] - r.returns[i - 1], 16666);
}

}  // namespace
}  // namespace kestrel

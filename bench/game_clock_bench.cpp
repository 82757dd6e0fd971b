// The game clock against the wall clock. The game counts 1/60 s per frame,
// so its clock is right only while frames come 60 a second, whatever the
// display does. Each run flips through the toolkit's vsync pacing with a
// swap that blocks like a display refreshing at 60, 75 or 144 Hz, or
// returns at once (a refused swap interval, as on Xvfb), with a
// millisecond of frame work, and prints how far the frame-counted clock
// drifted from the wall clock.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "toolkit/graphics/frame_pacing.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Display {
    Clock::time_point epoch;
    std::chrono::nanoseconds period{0};  // 0: the swap returns at once
};

void Swap(void* context) {
    const auto& d = *static_cast<const Display*>(context);
    if (d.period.count() == 0) return;
    const auto since = Clock::now() - d.epoch;
    std::this_thread::sleep_until(d.epoch + (since / d.period + 1) * d.period);
}

void FrameWork() {
    const auto until = Clock::now() + std::chrono::milliseconds(1);
    while (Clock::now() < until) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Ten seconds of game time unless told otherwise.
    const int kFrames = argc > 1 ? std::atoi(argv[1]) : 600;
    constexpr float kFrameSeconds = 1.0f / 60.0f;
    std::printf("game clock over %d frames (%.0f s of game time)\n", kFrames, kFrames / 60.0);
    for (int hertz : {60, 75, 144, 0}) {
        Display display{Clock::now(),
                        hertz ? std::chrono::nanoseconds(1'000'000'000 / hertz) : std::chrono::nanoseconds(0)};
        kestrel::VsyncPacer pacer;
        // The first frame starts the schedule; the clock is read from it on.
        FrameWork();
        kestrel::PacedSwap(pacer, Swap, &display);
        const auto t0 = Clock::now();
        float tiempo = 0.0f;
        for (int i = 0; i < kFrames; ++i) {
            FrameWork();
            tiempo += kFrameSeconds;
            kestrel::PacedSwap(pacer, Swap, &display);
        }
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double errorPct = (tiempo - wall) / wall * 100.0;
        if (hertz)
            std::printf("figure clock_error_pct_%dhz %.3f\n", hertz, std::fabs(errorPct));
        else
            std::printf("figure clock_error_pct_instant %.3f\n", std::fabs(errorPct));
        std::printf("  %s: game %.3f s, wall %.3f s, %+.3f %%\n",
                    hertz ? (std::to_string(hertz) + " Hz").c_str() : "instant swaps", tiempo, wall, errorPct);
    }
    return 0;
}

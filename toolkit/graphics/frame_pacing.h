// Frame pacing for Flip.
//
// SoftSync is the timer pacing of a windowed display: frames are spaced by
// 1000 / hertz ms, the remainder spread over the frames (16, 17, 17 ms at
// 60 Hz), and a frame that comes late re-bases the schedule on now so that
// lost time is not made up later.
//
// VsyncPacer keeps every flip that asks for vertical sync to at most 60
// frames a second. The game counts frames and assumes 60 a second, but a
// swap with vertical sync is often not 60 Hz: the swap interval may be
// refused (swaps return at once, as on Xvfb and offscreen drivers), the
// display may run at 75, 120 or 144 Hz, or a compositor may not block. So
// before each such swap it waits until the frame's slot on a 60 Hz schedule
// (16/17/17 ms) has come. When the swap itself has blocked for most of a
// 60 Hz period and the frames are a full period apart, the display is
// pacing at 60 Hz or slower, and the schedule is set back one frame so that
// the next frame adds no wait at all: at a real 60 Hz vertical sync the
// pacer adds nothing. Every 600th frame skips its wait to find that out.
// The swap's blocking time tells the displays apart: a 75 Hz refresh holds
// a swap at most 13.3 ms, a 144 Hz one 6.9 ms, never the 15 ms of the test.
#pragma once

#include <cstdint>

namespace kestrel {

class SoftSync {
public:
    // Starts pacing at hertz (> 0) from now (ms).
    void Start(int hertz, std::int32_t now);
    // The next frame's wait in ms (> 0: sleep that long). A frame with no
    // time left re-bases the schedule on now.
    std::int32_t NextWait(std::int32_t now);

    int rate = 0;
    int period = 0;
    int fraction = 0;
    int accumulator = 0;
    std::int32_t time = 0;
};

class VsyncPacer {
public:
    // Microseconds of a 60 Hz frame, and the spread of its remainder.
    static constexpr std::int64_t kPeriodUs = 16667;

    // Before the swap: how long to sleep (µs, 0 for none).
    std::int64_t BeforeSwap(std::int64_t nowUs);
    // After the swap: when it started and when it returned (µs).
    void AfterSwap(std::int64_t startUs, std::int64_t endUs);
    // Forgets the schedule (a new display).
    void Reset();

    bool started() const { return started_; }

private:
    bool started_ = false;
    std::int64_t due_ = 0;
    std::int64_t lastReturn_ = 0;
    bool haveReturn_ = false;
    int step_ = 0;
    int frames_ = 0;
};

// Runs one vsync-paced swap with the process clock: sleeps as the pacer
// says, calls swap, and tells the pacer how long the swap took.
void PacedSwap(VsyncPacer& pacer, void (*swap)(void*), void* context);

}  // namespace kestrel

// The frame loop's clock: how many fixed 1/60 s game updates each drawn
// frame runs so that game time keeps to the wall clock on any display.
//
// At a steady 60 frames a second every frame runs exactly one update. When
// a frame comes late (a slow renderer, a busy machine) the next frame runs
// the updates it missed before drawing once, so the game keeps real time
// down to 10 drawn frames a second. Below that, or after a stall (a window
// dragged, the machine suspended), a frame runs at most kMaxSteps updates
// and the rest of the lost time is forgiven: the game slows down rather
// than spiralling into ever longer catch-up frames. Frames that come early
// (an unpaced display faster than 60 Hz) run no update once the game is
// half a step ahead, so game time never runs fast either.
//
// The clock is pure arithmetic on the times it is given, in microseconds
// of any monotonic clock, so tests drive it with a fake clock.
#pragma once

#include <cstdint>

namespace kestrel {

// The schedule of a fixed-step frame loop: how many 1/60 s updates each
// drawn frame runs so that game time follows the wall clock.
class FixedStepClock {
public:
    // @{
    // Updates a second, and the most one drawn frame may run (10 frames a
    // second at 60 updates a second).
    static constexpr std::int64_t kStepsPerSecond = 60;
    static constexpr int kMaxSteps = 6;
    // @}

    // Starts a frame at nowUs and returns how many updates it runs. The
    // first frame after construction or Reset runs one.
    int BeginFrame(std::int64_t nowUs);

    // The wall-clock moment (µs) that update i (0-based) of the frame just
    // begun stands for: the end of its 1/60 s slot. Input stamped up to that
    // moment belongs to update i.
    std::int64_t StepMoment(int i) const;

    // Updates run since the start (or Reset), and wall time forgiven after
    // stalls (µs): game time = steps / 60 s = wall time - forgiven.
    // @{
    // Updates run since the start (or Reset), and wall time forgiven after
    // stalls (µs).
    std::int64_t steps() const { return done_; }
    std::int64_t forgivenUs() const { return forgivenUs_; }
    // @}

    // Forgets the schedule: the next frame starts it again.
    void Reset();

private:
    // Game time is kept in sixtieths of a microsecond so that 60 steps are
    // exactly one second with no rounding drift.
    std::int64_t DueTicks(std::int64_t nowUs) const { return (nowUs - originUs_) * kStepsPerSecond; }

    bool started_ = false;
    std::int64_t originUs_ = 0;    // wall time of game time 0
    std::int64_t done_ = 0;        // updates run
    std::int64_t firstStep_ = 0;   // index of this frame's first update
    std::int64_t forgivenUs_ = 0;  // wall time dropped after stalls
};

}  // namespace kestrel

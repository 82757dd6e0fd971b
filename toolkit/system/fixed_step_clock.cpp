#include "toolkit/system/fixed_step_clock.h"

namespace kestrel {

namespace {
constexpr std::int64_t kUsPerSecond = 1000000;
}  // namespace

void FixedStepClock::Reset() { *this = FixedStepClock(); }

int FixedStepClock::BeginFrame(std::int64_t nowUs) {
    if (!started_) {
        // Game time 0 is one step before now: the first frame runs one
        // update, whose slot ends now.
        started_ = true;
        originUs_ = nowUs - kUsPerSecond / kStepsPerSecond;
        firstStep_ = done_;
        done_ += 1;
        return 1;
    }
    // Steps owed, rounded to the nearest: a frame a little early or late
    // (timer jitter around a 60 Hz schedule) still runs exactly one.
    const std::int64_t due = (DueTicks(nowUs) + kUsPerSecond / 2) / kUsPerSecond;
    std::int64_t steps = due - done_;
    if (steps < 0) steps = 0;
    if (steps > kMaxSteps) {
        // Too far behind: run the most a frame may and forgive the rest, by
        // moving game time 0 forward so that the game is on time again.
        const std::int64_t dropped = steps - kMaxSteps;
        const std::int64_t droppedUs = dropped * kUsPerSecond / kStepsPerSecond;
        originUs_ += droppedUs;
        forgivenUs_ += droppedUs;
        steps = kMaxSteps;
    }
    firstStep_ = done_;
    done_ += steps;
    return static_cast<int>(steps);
}

std::int64_t FixedStepClock::StepMoment(int i) const {
    const std::int64_t step = firstStep_ + i + 1;
    return originUs_ + step * kUsPerSecond / kStepsPerSecond;
}

}  // namespace kestrel

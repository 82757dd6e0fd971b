#include "toolkit/graphics/frame_pacing.h"

#include <chrono>
#include <thread>

namespace kestrel {

void SoftSync::Start(int hertz, std::int32_t now) {
    rate = hertz;
    period = 1000 / hertz;
    fraction = 1000 - period * hertz;
    accumulator = 0;
    time = now;
}

std::int32_t SoftSync::NextWait(std::int32_t now) {
    // Wrapping Int arithmetic, as the millisecond clock wraps.
    auto add = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) +
                                         static_cast<std::uint32_t>(b));
    };
    auto sub = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) -
                                         static_cast<std::uint32_t>(b));
    };
    time = add(time, period);
    accumulator += fraction;
    if (accumulator >= rate) {
        accumulator -= rate;
        time = add(time, 1);
    }
    const std::int32_t wait = sub(time, now);
    if (wait > 0) return wait;
    time = sub(time, wait);  // catches up to now
    return 0;
}

namespace {

// 60 Hz in whole microseconds: 16666, 16667, 16667 per three frames.
constexpr std::int64_t kSteps[3] = {16666, 16667, 16667};
// A swap that blocked this long was held by the display's refresh.
constexpr std::int64_t kBlockedSwapUs = 15000;
// Frames this far apart were not faster than 60 a second (1 % slack for
// displays at 59.94 Hz and clock jitter).
constexpr std::int64_t kFullPeriodUs = 16500;
// Frames between two probes of the display's own pacing (10 s).
constexpr int kProbeEvery = 600;

}  // namespace

void VsyncPacer::Reset() { *this = VsyncPacer(); }

std::int64_t VsyncPacer::BeforeSwap(std::int64_t nowUs) {
    if (!started_) {
        started_ = true;
        due_ = nowUs;
        return 0;
    }
    due_ += kSteps[step_];
    step_ = (step_ + 1) % 3;
    ++frames_;
    const std::int64_t wait = due_ - nowUs;
    // Now and then a frame goes to its swap without waiting, to see whether
    // the display itself paces at 60 Hz (then AfterSwap stops the waits).
    // On a faster display that one frame is early; the schedule is kept, so
    // the next waits longer and the rate stays 60.
    if (wait > 0 && frames_ % kProbeEvery == 1) return 0;
    if (wait > 0) return wait;
    // A little late (the swap waited for a refresh, or the frame took long)
    // is made up by the next frames; after a stall of more than a frame the
    // schedule starts again from now, so the game is not hurried.
    if (wait < -kPeriodUs) due_ = nowUs;
    return 0;
}

void VsyncPacer::AfterSwap(std::int64_t startUs, std::int64_t endUs) {
    const bool blocked = endUs - startUs >= kBlockedSwapUs;
    const bool fullPeriod = haveReturn_ && endUs - lastReturn_ >= kFullPeriodUs;
    if (blocked && fullPeriod) {
        // The display paced this frame at 60 Hz or slower: put the schedule
        // one frame behind the swap's return so the next frame goes
        // straight to its swap, which waits for the refresh itself.
        due_ = endUs - kPeriodUs;
    }
    lastReturn_ = endUs;
    haveReturn_ = true;
}

void PacedSwap(VsyncPacer& pacer, void (*swap)(void*), void* context) {
    using Clock = std::chrono::steady_clock;
    auto micros = [] {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   Clock::now().time_since_epoch())
            .count();
    };
    const std::int64_t wait = pacer.BeforeSwap(micros());
    if (wait > 0) std::this_thread::sleep_for(std::chrono::microseconds(wait));
    const std::int64_t start = micros();
    swap(context);
    pacer.AfterSwap(start, micros());
}

}  // namespace kestrel

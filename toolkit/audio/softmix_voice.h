// One mixer voice: a sample being played on a channel. The main thread sets
// a voice up and queues it; from then on the output thread owns the mixing
// state until it hands the voice back through the finished list. The fields
// both threads touch are atomics: status flags, the stop request, the
// control targets (single 16- or 32-bit stores) and the published position.
#pragma once

#include <atomic>
#include <cstdint>

#include "toolkit/audio/softmix_sample.h"

namespace kestrel::softmix {

// Status flags.
inline constexpr int kStatusFree = 0;
inline constexpr int kStatusFinished = 0x1;
inline constexpr int kStatusPlayingOnce = 0x2;
inline constexpr int kStatusPlayingLooped = 0x4;
inline constexpr int kStatusStreaming = 0x8;  // never set here
inline constexpr int kStatusPaused = 0x10;

// Fixed-point units of the controls.
inline constexpr int kRateOne = 0x10000;  // 16.16
inline constexpr int kGainOne = 4096;     // 4.12

struct Voice {
    // Shared between the threads.
    std::atomic<int> status{kStatusFree};
    std::atomic<bool> stopRequest{false};
    std::atomic<std::uint64_t> position{0};  // 32.32 frames, published after each block
    std::atomic<std::int32_t> rateTarget{kRateOne};
    std::atomic<std::int16_t> volumeTarget{kGainOne};
    std::atomic<std::int16_t> panTarget{0};
    std::atomic<std::int16_t> depthTarget{0};

    // Set by the main thread before the voice is queued.
    Sample* sample = nullptr;
    std::int32_t queuedAt = 0;  // millisecond clock at the play call
    std::uint32_t handle = 0;   // the channel handle it was started on

    // Owned by the output thread while the voice is queued or active.
    std::uint64_t pos = 0;
    std::int64_t delayFrames = 0;
    std::int32_t rate = kRateOne;
    std::int32_t volume = kGainOne;
    std::int32_t pan = 0;
    std::int32_t depth = 0;
    bool sounded = false;  // has mixed at least one frame
};

}  // namespace kestrel::softmix

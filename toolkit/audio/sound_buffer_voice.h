// The mixer's record of one buffer (internal to the sound-buffer service).
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/audio/voice_resampler.h"

namespace kestrel {

// PCM bytes shared by a buffer and its duplicates.
struct PcmBlock {
    std::unique_ptr<std::uint8_t[]> bytes;
    int size = 0;
    // Main thread only: set once a buffer over this block has been played
    // (from then on the mixer may read it), and the count of direct locks.
    bool published = false;
    int directLocks = 0;
};

struct SoundVoice {
    // Main thread only.
    std::shared_ptr<PcmBlock> block;
    int volume = 0;
    int pan = 0;
    int frequency = 0;
    int originalHertz = 0;

    // Fixed at creation.
    const std::uint8_t* data = nullptr;
    int frames = 0;
    int channels = 1;
    int bits = 16;
    int bytesPerFrame = 2;

    // Written by the main thread and read by the mixer, both under the lock.
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
    std::uint64_t step = 0;  // source frames per output frame, 32.32 fixed point
    bool looping = false;

    // Shared state, under the lock.
    bool playing = false;
    std::uint64_t position = 0;  // source frames, 32.32 fixed point
    int activeIndex = -1;        // place in the mixer's active list, or -1

    // The band-limited converter for a voice played at another rate than
    // the output's (made on the main thread; used by the mixer), and whether
    // it must forget what it was fed (set under the lock on a new position).
    std::unique_ptr<VoiceResampler> resampler;
    bool resamplerReset = false;
};

}  // namespace kestrel

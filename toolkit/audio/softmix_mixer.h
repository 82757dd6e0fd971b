// The mixing core: takes newly queued voices, mixes every active voice into
// a 32-bit accumulator per output value and converts the accumulator to
// 16-bit stereo at 44100 Hz. Everything is allocated up front; mixing a
// block allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/audio/softmix_spsc_queue.h"
#include "toolkit/audio/softmix_voice.h"

namespace kestrel::softmix {

inline constexpr int kOutputHertz = 44100;
inline constexpr int kMaxVoices = 4096;
inline constexpr int kStartDelayMs = 20;

using MilliClock = std::int32_t (*)();

class Mixer {
public:
    // blockValues: the most interleaved 16-bit values one Mix call produces.
    Mixer(int blockValues, MilliClock clock);

    int BlockValues() const { return blockValues_; }

    // Main thread: hands a set-up voice to the output thread.
    bool Queue(Voice* voice) { return incoming_.Push(voice); }
    // Main thread: a voice the output thread has finished with, or null.
    Voice* TakeFinished();

    // Output thread: mixes `values` interleaved values (even, at most the
    // block length) into out.
    void Mix(std::int16_t* out, int values);

    // Output thread, or any thread once the output has stopped: the number of
    // voices in the active list.
    int ActiveCount() const { return static_cast<int>(active_.size()); }

private:
    void AdmitQueued();
    // Mixes one voice into the accumulator; false when it leaves the list.
    bool MixVoice(Voice& v, int frames);

    const int blockValues_;
    const MilliClock clock_;
    std::vector<std::int32_t> acc_;
    std::vector<Voice*> active_;
    SpscQueue<Voice*> incoming_;
    SpscQueue<Voice*> finished_;
};

// Output value of one accumulator value: arithmetic shift by 4, clamped.
constexpr std::int16_t ConvertAccumulator(std::int32_t acc) {
    const std::int32_t v = acc >> 4;
    return static_cast<std::int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

// Per-frame step in 16.16 for a sample rate and a 16.16 rate control.
constexpr std::int64_t StepFor(int hertz, std::int32_t rate) {
    return static_cast<std::int64_t>(hertz) * rate / kOutputHertz;
}

// Left and right gains (4.12) of volume v and pan p: linear law, no centre
// attenuation.
constexpr std::int32_t LeftGain(std::int32_t v, std::int32_t p) { return p > 0 ? v * (4096 - p) / 4096 : v; }
constexpr std::int32_t RightGain(std::int32_t v, std::int32_t p) { return p < 0 ? v * (4096 + p) / 4096 : v; }

}  // namespace kestrel::softmix

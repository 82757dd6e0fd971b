// The mixer's own copy of a sound's frames. The frames are held widened to
// 16-bit values with one guard frame after the last, so that interpolation
// may always read the frame after the current one: for a looping sample the
// guard is a copy of the first frame, otherwise a copy of the last.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrel::softmix {

struct Sample {
    int frames = 0;
    int hertz = 0;
    int channels = 0;  // 1 or 2
    int bits = 0;      // bits per channel value as given: 8 or 16
    bool loop = false;
    int refs = 1;      // the creator's reference plus one per voice using it; main thread only
    // (frames + 1) * channels values; 8-bit data widened around 0x8000.
    std::vector<std::int16_t> data;
};

// Copies `frames` frames of interleaved PCM (8-bit unsigned or 16-bit signed
// little-endian, 1 or 2 channels) and adds the guard frame. Returns null for
// an unsupported layout or a negative frame count.
Sample* CreateSample(int frames, int bits, int channels, int hertz, const void* data, bool loop);

// Adds a reference.
void RetainSample(Sample* sample);

// Drops one reference; the sample is freed at zero.
void ReleaseSample(Sample* sample);

// The 16-bit value of an 8-bit unsigned sample value.
constexpr std::int16_t Widen8(std::uint8_t u) { return static_cast<std::int16_t>((u << 8) - 0x8000); }

}  // namespace kestrel::softmix

// The sample formats of TAudioSample and the routine that converts frames
// between them.
#pragma once

#include <cstdint>

namespace kestrel {

enum : int {
    SF_MONO8 = 1,         // mono, 8-bit unsigned
    SF_MONO16LE = 2,      // mono, 16-bit signed little-endian
    SF_MONO16BE = 3,      // mono, 16-bit signed big-endian
    SF_STEREO8 = 4,       // stereo, 8-bit unsigned, left then right
    SF_STEREO16LE = 5,    // stereo, 16-bit signed little-endian
    SF_STEREO16BE = 6,    // stereo, 16-bit signed big-endian
};

// @{
// Bytes per frame and channels of a format code; both 0 for code 0 and for
// any code outside 0..6.
int BytesPerSample(int format);
int ChannelsPerSample(int format);
// @}

// True for the codes 1..6.
bool ValidSampleFormat(int format);

// Converts `frames` frames from `in` (format inFormat) to `out` (format
// outFormat). The same format is a byte copy; otherwise every frame goes
// through stereo 16-bit: 8-bit values u become u * 257 - 32768 and mono is
// duplicated to both sides; mono targets take the average of left and right
// (halved toward zero), 8-bit targets take (v + 32768) / 257. An unknown
// format raises a runtime error.
void ConvertSamples(const std::uint8_t* in, int inFormat, std::uint8_t* out, int outFormat,
                    int frames);

}  // namespace kestrel

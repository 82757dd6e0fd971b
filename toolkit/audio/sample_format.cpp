#include "toolkit/audio/sample_format.h"

#include <cstring>

#include "toolkit/core/error.h"

namespace kestrel {

namespace {

constexpr int kBytesPerSample[7] = {0, 1, 2, 2, 2, 4, 4};
constexpr int kChannelsPerSample[7] = {0, 1, 1, 1, 2, 2, 2};

struct Frame {
    int left;
    int right;
};

Frame ReadFrame(const std::uint8_t* p, int format) {
    switch (format) {
        case SF_MONO8: {
            int v = p[0] * 257 - 32768;
            return {v, v};
        }
        case SF_MONO16LE: {
            int v = std::int16_t(p[0] | (p[1] << 8));
            return {v, v};
        }
        case SF_MONO16BE: {
            int v = std::int16_t((p[0] << 8) | p[1]);
            return {v, v};
        }
        case SF_STEREO8:
            return {p[0] * 257 - 32768, p[1] * 257 - 32768};
        case SF_STEREO16LE:
            return {std::int16_t(p[0] | (p[1] << 8)), std::int16_t(p[2] | (p[3] << 8))};
        case SF_STEREO16BE:
            return {std::int16_t((p[0] << 8) | p[1]), std::int16_t((p[2] << 8) | p[3])};
    }
    return {0, 0};
}

void Put16(std::uint8_t* p, int v, bool bigEndian) {
    auto u = std::uint16_t(v);
    if (bigEndian) {
        p[0] = std::uint8_t(u >> 8);
        p[1] = std::uint8_t(u);
    } else {
        p[0] = std::uint8_t(u);
        p[1] = std::uint8_t(u >> 8);
    }
}

std::uint8_t To8(int v) { return std::uint8_t((v + 32768) / 257); }

void WriteFrame(std::uint8_t* p, int format, Frame f) {
    // Signed average; integer division truncates toward zero.
    int mono = (f.left + f.right) / 2;
    switch (format) {
        case SF_MONO8: p[0] = To8(mono); break;
        case SF_MONO16LE: Put16(p, mono, false); break;
        case SF_MONO16BE: Put16(p, mono, true); break;
        case SF_STEREO8:
            p[0] = To8(f.left);
            p[1] = To8(f.right);
            break;
        case SF_STEREO16LE:
            Put16(p, f.left, false);
            Put16(p + 2, f.right, false);
            break;
        case SF_STEREO16BE:
            Put16(p, f.left, true);
            Put16(p + 2, f.right, true);
            break;
    }
}

}  // namespace

bool ValidSampleFormat(int format) { return format >= 1 && format <= 6; }

int BytesPerSample(int format) {
    return format >= 0 && format <= 6 ? kBytesPerSample[format] : 0;
}

int ChannelsPerSample(int format) {
    return format >= 0 && format <= 6 ? kChannelsPerSample[format] : 0;
}

void ConvertSamples(const std::uint8_t* in, int inFormat, std::uint8_t* out, int outFormat,
                    int frames) {
    if (!ValidSampleFormat(inFormat) || !ValidSampleFormat(outFormat))
        RuntimeError("Unknown audio sample format");
    if (frames <= 0) return;
    if (inFormat == outFormat) {
        std::memcpy(out, in, std::size_t(frames) * std::size_t(BytesPerSample(inFormat)));
        return;
    }
    const int inStep = BytesPerSample(inFormat);
    const int outStep = BytesPerSample(outFormat);
    for (int i = 0; i < frames; ++i, in += inStep, out += outStep)
        WriteFrame(out, outFormat, ReadFrame(in, inFormat));
}

}  // namespace kestrel

#include "toolkit/audio/audio_sample.h"

#include <climits>
#include <cstring>

#include "toolkit/core/error.h"

namespace kestrel {

TAudioSample::~TAudioSample() {
    if (capacity >= 0) delete[] samples;
}

std::int64_t TAudioSample::ByteCount() const {
    return std::int64_t(length) * BytesPerSample(format);
}

TAudioSamplePtr TAudioSample::Create(int length, int hertz, int format) {
    if (!ValidSampleFormat(format)) RuntimeError("Unknown audio sample format");
    const std::int64_t bytes = std::int64_t(length) * BytesPerSample(format);
    if (length < 0 || bytes > INT_MAX) RuntimeError("Audio sample size out of range");
    auto s = std::make_shared<TAudioSample>();
    // Zeroed so that a sample is never filled with stale memory.
    s->samples = new std::uint8_t[std::size_t(bytes) ? std::size_t(bytes) : 1]();
    s->length = length;
    s->hertz = hertz;
    s->format = format;
    s->capacity = int(bytes);
    return s;
}

TAudioSamplePtr TAudioSample::CreateStatic(std::uint8_t* samples, int length, int hertz,
                                           int format) {
    auto s = std::make_shared<TAudioSample>();
    s->samples = samples;
    s->length = length;
    s->hertz = hertz;
    s->format = format;
    s->capacity = -1;
    return s;
}

TAudioSamplePtr TAudioSample::Copy() const {
    auto s = Create(length, hertz, format);
    if (ByteCount() > 0) std::memcpy(s->samples, samples, std::size_t(ByteCount()));
    return s;
}

TAudioSamplePtr TAudioSample::Convert(int to) const {
    if (!ValidSampleFormat(format) || !ValidSampleFormat(to))
        RuntimeError("Unknown audio sample format");
    auto s = Create(length, hertz, to);
    ConvertSamples(samples, format, s->samples, to, length);
    return s;
}

}  // namespace kestrel

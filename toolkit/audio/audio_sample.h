// TAudioSample: interleaved PCM frames as the loaders produce them and the
// drivers consume them.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/audio/sample_format.h"
#include "toolkit/core/object.h"

namespace kestrel {

class TAudioSample;
// A shared sample; null is none.
using TAudioSamplePtr = std::shared_ptr<TAudioSample>;

// Sound data in memory: interleaved PCM frames in one of the SF_* formats.
class TAudioSample : public Object {
public:
    TAudioSample() = default;
    TAudioSample(const TAudioSample&) = delete;
    TAudioSample& operator=(const TAudioSample&) = delete;
    // Frees `samples` when the sample owns them (capacity >= 0).
    ~TAudioSample() override;

    // A new owned sample with the same length, hertz, format and a byte copy
    // of the data.
    TAudioSamplePtr Copy() const;
    // A new owned sample holding these frames in `format`.
    TAudioSamplePtr Convert(int format) const;

    // An owned sample with room for `length` frames (contents zeroed);
    // capacity = length * bytes per frame. An unknown format, a negative
    // length or a size past 2^31 - 1 bytes raises a runtime error.
    static TAudioSamplePtr Create(int length, int hertz, int format);
    // A sample over caller memory (capacity -1), which must outlive it.
    static TAudioSamplePtr CreateStatic(std::uint8_t* samples, int length, int hertz, int format);

    // Bytes of sample data: length * bytes per frame.
    std::int64_t ByteCount() const;

    std::uint8_t* samples = nullptr;  // interleaved PCM data
    int length = 0;                   // sample frames
    int hertz = 0;                    // frames per second
    int format = 0;                   // SF_* code
    int capacity = -1;                // bytes owned; -1 when the memory is the caller's
};

}  // namespace kestrel

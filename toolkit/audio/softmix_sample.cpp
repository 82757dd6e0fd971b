#include "toolkit/audio/softmix_sample.h"

#include <cstddef>

namespace kestrel::softmix {

Sample* CreateSample(int frames, int bits, int channels, int hertz, const void* data, bool loop) {
    if (frames < 0 || (bits != 8 && bits != 16) || (channels != 1 && channels != 2)) return nullptr;
    if (frames > 0 && !data) return nullptr;
    auto* s = new Sample;
    s->frames = frames;
    s->hertz = hertz;
    s->channels = channels;
    s->bits = bits;
    s->loop = loop;
    const std::size_t values = static_cast<std::size_t>(frames) * channels;
    s->data.resize(values + channels);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < values; ++i) {
        if (bits == 8) {
            s->data[i] = Widen8(bytes[i]);
        } else {
            s->data[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
    }
    if (frames > 0) {
        const std::size_t guardSource = loop ? 0 : values - channels;
        for (int c = 0; c < channels; ++c) s->data[values + c] = s->data[guardSource + c];
    }
    return s;
}

void RetainSample(Sample* sample) {
    if (sample) ++sample->refs;
}

void ReleaseSample(Sample* sample) {
    if (sample && --sample->refs == 0) delete sample;
}

}  // namespace kestrel::softmix

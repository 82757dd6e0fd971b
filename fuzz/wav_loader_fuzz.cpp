// The WAV loader over a memory stream holding the input, as LoadAudioSample
// calls it: bad data is refused (null or a stream exception), never a crash,
// and no allocation beyond what the input holds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/audio/wav_loader.h"
#include "toolkit/resources/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kestrel::TAudioSampleLoaderWAV loader;
    std::vector<std::uint8_t> bytes(data, data + size);
    auto stream = kestrel::TRamStream::Create(bytes.data(), std::int64_t(bytes.size()), 1, 0);
    try {
        kestrel::TAudioSamplePtr s = loader.LoadAudioSample(stream);
        if (s) {
            // The sample holds exactly what it says, all of it from the input.
            if (s->ByteCount() > std::int64_t(size)) __builtin_trap();
            volatile std::uint8_t sink = 0;
            for (std::int64_t i = 0; i < s->ByteCount(); i += 61) sink = sink + s->samples[i];
            if (s->length <= 4096) {
                auto c = s->Convert(kestrel::SF_STEREO16BE)->Convert(kestrel::SF_MONO8);
                if (c->length != s->length) __builtin_trap();
            }
        }
    } catch (const kestrel::TStreamException&) {
        // A stream that ends inside the headers: refused.
    }
    return 0;
}

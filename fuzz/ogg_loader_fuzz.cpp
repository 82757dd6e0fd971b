// The Ogg loader over a memory stream holding the input. For inputs of even
// length the page checksums are recomputed first, so that mutations reach
// the Vorbis decoder and not only the page checksum test.
#include <ogg/ogg.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "toolkit/audio/ogg_loader.h"
#include "toolkit/resources/stream.h"

namespace {

void FixPageChecksums(std::vector<std::uint8_t>& b) {
    std::size_t at = 0;
    while (at + 27 <= b.size()) {
        if (std::memcmp(&b[at], "OggS", 4) != 0) {
            ++at;
            continue;
        }
        const std::size_t segments = b[at + 26];
        if (at + 27 + segments > b.size()) break;
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i) body += b[at + 27 + i];
        if (at + 27 + segments + body > b.size()) break;
        ogg_page page;
        page.header = &b[at];
        page.header_len = long(27 + segments);
        page.body = &b[at + 27 + segments];
        page.body_len = long(body);
        ogg_page_checksum_set(&page);
        at += 27 + segments + body;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kestrel::TAudioSampleLoaderOGG loader;
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size % 2 == 0) FixPageChecksums(bytes);
    auto stream = kestrel::TRamStream::Create(bytes.data(), std::int64_t(bytes.size()), 1, 0);
    kestrel::TAudioSamplePtr s = loader.LoadAudioSample(stream);
    if (s) {
        if (s->format != kestrel::SF_MONO16LE && s->format != kestrel::SF_STEREO16LE) __builtin_trap();
        volatile std::uint8_t sink = 0;
        for (std::int64_t i = 0; i < s->ByteCount(); i += 101) sink = sink + s->samples[i];
    }
    return 0;
}

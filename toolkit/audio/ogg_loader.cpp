#include "toolkit/audio/ogg_loader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "toolkit/audio/ogg_decoder.h"
#include "toolkit/core/run_once.h"
#include "toolkit/resources/stream.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/missing_loader.h"

namespace kestrel {

namespace {

// The callbacks run inside the C library: nothing may be thrown through it.
std::size_t ReadCb(void* buf, std::size_t size, std::size_t count, void* source) {
    if (size == 0 || count == 0) return 0;
    auto* s = static_cast<TStream*>(source);
    try {
        const std::int64_t want =
            count > std::size_t(INT64_MAX) / size ? INT64_MAX : std::int64_t(size * count);
        const std::int64_t got = s->Read(buf, want);
        return got > 0 ? std::size_t(got) / size : 0;
    } catch (...) {
        return 0;
    }
}

int SeekCb(void* source, std::int64_t offset, int whence) {
    auto* s = static_cast<TStream*>(source);
    try {
        // Only the low 32 bits of the offset are used.
        const std::int64_t off = std::int32_t(std::uint32_t(std::uint64_t(offset)));
        std::int64_t pos;
        switch (whence) {
            case 0: pos = off; break;
            case 1: pos = off + s->Pos(); break;
            case 2: pos = off + s->Size(); break;
            default: return -1;
        }
        if (pos < 0) return -1;
        s->Seek(pos);
        return 0;
    } catch (...) {
        return -1;
    }
}

int CloseCb(void*) { return 0; }  // LoadAudioSample closes the stream

long TellCb(void* source) {
    try {
        return long(static_cast<TStream*>(source)->Pos());
    } catch (...) {
        return -1;
    }
}

// How many bytes of PCM to set aside before decoding: the stated length,
// but no more than a generous multiple of the compressed size, since the
// length comes from the file and may be forged. Decoding beyond this grows
// the buffer as real PCM arrives.
std::int64_t InitialReserve(std::int64_t statedBytes, TStream& s) {
    const std::int64_t size = s.Size();
    const std::int64_t bound = size > 0 ? size * 64 + (1 << 20) : (16 << 20);
    return std::min(statedBytes, bound);
}

bool g_oggDone = false;
std::shared_ptr<TAudioSampleLoaderOGG> g_oggLoader;

}  // namespace

TAudioSamplePtr TAudioSampleLoaderOGG::LoadAudioSample(const std::shared_ptr<TStream>& stream) {
    if (!stream) return nullptr;
    char magic[4] = {};
    const std::int64_t at = stream->Pos();
    const bool ogg = stream->Read(magic, 4) == 4 && std::memcmp(magic, "OggS", 4) == 0;
    stream->Seek(at);
    if (!ogg) return RefuseData("Ogg");
    ClaimData("Ogg");
    OggStreamInfo info;
    OggDecoder* d = OggOpenDecoder(stream.get(), ReadCb, SeekCb, CloseCb, TellCb, &info);
    if (!d) return FailData("Ogg", "not an Ogg Vorbis stream, or damaged");
    struct Closer {
        OggDecoder* d;
        ~Closer() { OggReadPcm(d, nullptr, 0); }
    } closer{d};

    // More than two channels do not fit the sample formats.
    if (info.channels < 1 || info.channels > 2 || info.hertz <= 0)
        return FailData("Ogg", std::to_string(info.channels) + " channels at " +
                                   std::to_string(info.hertz) + " Hz: only mono and stereo play");
    const int format = info.channels == 1 ? SF_MONO16LE : SF_STEREO16LE;
    const int bpf = BytesPerSample(format);
    const std::int64_t length = std::int32_t(std::uint32_t(std::uint64_t(info.samples)));
    if (length < 0 || length * bpf > INT_MAX) return FailData("Ogg", "too long");
    const std::int64_t total = length * bpf;

    std::vector<std::uint8_t> pcm;
    pcm.reserve(std::size_t(InitialReserve(total, *stream)));
    constexpr std::int64_t kPiece = 1 << 20;
    while (std::int64_t(pcm.size()) < total) {
        const std::int64_t n = std::min(kPiece, total - std::int64_t(pcm.size()));
        const std::size_t at = pcm.size();
        pcm.resize(at + std::size_t(n));
        // A decoding error, or a stream that ends before its stated length
        // (a truncated or forged file), refuses the file.
        if (OggReadPcm(d, pcm.data() + at, n) < 0)
            return FailData("Ogg", "damaged or truncated after " + std::to_string(stream->Size()) +
                                       " bytes");
    }
    auto sample = TAudioSample::Create(int(length), info.hertz, format);
    if (total) std::memcpy(sample->samples, pcm.data(), std::size_t(total));
    return sample;
}

void InitOggLoader() {
    RunOnce(g_oggDone, [] {
        g_oggLoader = std::make_shared<TAudioSampleLoaderOGG>();
        NoteLoaderRegistered(DataFormat::OggVorbis);
    });
}

}  // namespace kestrel

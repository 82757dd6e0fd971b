#include "toolkit/audio/wav_loader.h"

#include <climits>
#include <cstring>
#include <vector>

#include "toolkit/core/run_once.h"
#include "toolkit/resources/stream.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/missing_loader.h"

namespace kestrel {

namespace {

// Four bytes in file order; empty when fewer than four can be read.
std::string ReadTag(TStream& s) {
    char tag[4];
    std::int64_t got = 0;
    while (got < 4) {
        std::int64_t n = s.Read(tag + got, 4 - got);
        if (n <= 0) return {};
        got += n;
    }
    return std::string(tag, 4);
}

std::uint32_t ReadU32(TStream& s) { return std::uint32_t(s.ReadInt()); }

// Bytes left in the stream, or -1 when the stream cannot say.
std::int64_t Remaining(TStream& s) {
    const std::int64_t pos = s.Pos(), size = s.Size();
    if (pos < 0 || size < pos) return -1;
    return size - pos;
}

int SampleFormatFor(int bits, int channels) {
    if (bits == 8 && channels == 1) return SF_MONO8;
    if (bits == 8 && channels == 2) return SF_STEREO8;
    if (bits == 16 && channels == 1) return SF_MONO16LE;
    if (bits == 16 && channels == 2) return SF_STEREO16LE;
    return 0;
}

// The "data" chunk's frames. The size in the header is only believed as far
// as the stream really holds bytes: a forged size never allocates more than
// the file contains, and a file that ends inside its data is refused.
TAudioSamplePtr ReadData(TStream& s, std::uint32_t size, int hertz, int format) {
    const int bpf = BytesPerSample(format);
    const std::int64_t frames = size / std::uint32_t(bpf);
    const std::int64_t bytes = frames * bpf;
    if (bytes > INT_MAX) return FailData("WAV", "too long");
    const std::int64_t left = Remaining(s);
    if (left >= 0) {
        if (bytes > left)
            return FailData("WAV", "truncated after " + std::to_string(s.Size()) +
                                       " bytes: its data chunk holds " + std::to_string(size) +
                                       " bytes, the rest of the file " + std::to_string(left));
        auto sample = TAudioSample::Create(int(frames), hertz, format);
        s.ReadBytes(sample->samples, bytes);
        return sample;
    }
    // A stream of unknown size: read in pieces, so that memory grows only
    // with the data that really arrives.
    std::vector<std::uint8_t> data;
    constexpr std::int64_t kPiece = 1 << 16;
    while (std::int64_t(data.size()) < bytes) {
        const std::int64_t n = std::min(kPiece, bytes - std::int64_t(data.size()));
        const std::size_t at = data.size();
        data.resize(at + std::size_t(n));
        s.ReadBytes(data.data() + at, n);
    }
    auto sample = TAudioSample::Create(int(frames), hertz, format);
    if (bytes) std::memcpy(sample->samples, data.data(), std::size_t(bytes));
    return sample;
}

// Skips a chunk of `size` bytes; false when the stream ends first.
bool SkipChunk(TStream& s, std::uint32_t size) {
    const std::int64_t left = Remaining(s);
    if (left < 0) {
        s.SkipBytes(size);
        return true;
    }
    if (size > left) return false;
    s.Seek(s.Pos() + size);
    return true;
}

bool g_wavDone = false;
std::shared_ptr<TAudioSampleLoaderWAV> g_wavLoader;

}  // namespace

TAudioSamplePtr TAudioSampleLoaderWAV::LoadAudioSample(const std::shared_ptr<TStream>& stream) {
    if (!stream) return nullptr;
    TStream& s = *stream;
    if (ReadTag(s) != "RIFF") return RefuseData("WAV");
    ReadU32(s);  // RIFF size, not needed
    if (ReadTag(s) != "WAVE") return RefuseData("WAV");
    ClaimData("WAV");
    // the format chunk comes first
    if (ReadTag(s) != "fmt ") return FailData("WAV", "no format chunk first");
    const std::uint32_t fmtSize = ReadU32(s);
    if (s.ReadShort() != 1) return FailData("WAV", "not uncompressed PCM");
    const int channels = s.ReadShort();
    const std::int32_t hertz = s.ReadInt();
    s.ReadInt();    // byte rate
    s.ReadShort();  // block align
    const int bits = s.ReadShort();
    const int format = SampleFormatFor(bits, channels);
    if (!format)
        return FailData("WAV", std::to_string(bits) + "-bit " + std::to_string(channels) +
                                   "-channel samples: only 8 or 16 bits, mono or stereo, play");
    // A rate of zero or above 2^31 cannot be played by any driver.
    if (hertz <= 0) return FailData("WAV", "no valid sample rate");
    if (fmtSize > 16 && !SkipChunk(s, fmtSize - 16)) return FailData("WAV", "truncated format chunk");

    while (!s.Eof()) {
        const std::string tag = ReadTag(s);
        const std::uint32_t size = ReadU32(s);
        if (tag == "data") return ReadData(s, size, hertz, format);
        if (!SkipChunk(s, size))  // no padding byte after odd sizes
            return FailData("WAV", "truncated inside its \"" + tag + "\" chunk");
    }
    return FailData("WAV", "no data chunk");
}

void InitWavLoader() {
    RunOnce(g_wavDone, [] {
        g_wavLoader = std::make_shared<TAudioSampleLoaderWAV>();
        NoteLoaderRegistered(DataFormat::WAV);
    });
}

}  // namespace kestrel

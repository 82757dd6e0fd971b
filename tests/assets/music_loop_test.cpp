// The music loops decoded whole: their length, their level, and the seam
// where the end joins the start again.
//
// Seam rule: with x the decoded 16-bit samples, the step from the last frame
// to the first, |x[0] - x[N-1]| per channel, is no larger than 1.5 times the
// largest step between neighbouring frames inside the last and the first
// 10 ms, and at most 8000 (a quarter of full scale); and neither window is
// near silence next to the other (the softer RMS is at least a tenth of the
// louder). A cut in the middle of a waveform or a silent gap at either end
// fails one of these.
#include <gtest/gtest.h>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "asset_table.h"
#include "toolkit/resources/incbin.h"

namespace asset_test {
namespace {

struct Pcm {
    int channels = 0, rate = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

struct MemoryFile {
    const uint8_t* data;
    size_t size, pos;
};

size_t Read(void* out, size_t size, size_t count, void* source) {
    auto* f = static_cast<MemoryFile*>(source);
    size_t n = std::min(size * count, f->size - f->pos);
    std::memcpy(out, f->data + f->pos, n);
    f->pos += n;
    return size ? n / size : 0;
}
int Seek(void* source, ogg_int64_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(source);
    ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(f->pos) : ogg_int64_t(f->size);
    ogg_int64_t to = base + offset;
    if (to < 0 || to > ogg_int64_t(f->size)) return -1;
    f->pos = size_t(to);
    return 0;
}
long Tell(void* source) { return long(static_cast<MemoryFile*>(source)->pos); }

Pcm Decode(const std::string& name) {
    Pcm pcm;
    MemoryFile file{kestrel::IncbinPtr(name), size_t(kestrel::IncbinLen(name)), 0};
    OggVorbis_File vf;
    ov_callbacks callbacks{Read, Seek, nullptr, Tell};
    if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0) return pcm;
    vorbis_info* info = ov_info(&vf, -1);
    pcm.channels = info->channels;
    pcm.rate = int(info->rate);
    std::vector<char> buffer(1 << 16);
    int section = 0;
    for (;;) {
        long got = ov_read(&vf, buffer.data(), int(buffer.size()), 0, 2, 1, &section);
        if (got <= 0) break;
        const auto* s = reinterpret_cast<const int16_t*>(buffer.data());
        pcm.samples.insert(pcm.samples.end(), s, s + got / 2);
    }
    ov_clear(&vf);
    return pcm;
}

struct Seam {
    int jump = 0;        // largest step across the seam, any channel
    int local_step = 0;  // largest neighbour step inside the two windows
    double rms_end = 0, rms_start = 0;
};

Seam MeasureSeam(const Pcm& p, double window_seconds = 0.010) {
    Seam s;
    const size_t n = p.Frames(), w = size_t(window_seconds * p.rate), ch = size_t(p.channels);
    auto at = [&](size_t frame, size_t c) { return int(p.samples[frame * ch + c]); };
    double sum_end = 0, sum_start = 0;
    for (size_t c = 0; c < ch; ++c) {
        s.jump = std::max(s.jump, std::abs(at(0, c) - at(n - 1, c)));
        for (size_t i = 0; i + 1 < w; ++i) {
            s.local_step = std::max(s.local_step, std::abs(at(i + 1, c) - at(i, c)));
            s.local_step = std::max(s.local_step, std::abs(at(n - w + i + 1, c) - at(n - w + i, c)));
        }
        for (size_t i = 0; i < w; ++i) {
            sum_start += double(at(i, c)) * at(i, c);
            sum_end += double(at(n - w + i, c)) * at(n - w + i, c);
        }
    }
    s.rms_start = std::sqrt(sum_start / double(w * ch));
    s.rms_end = std::sqrt(sum_end / double(w * ch));
    return s;
}

bool SeamIsClean(const Seam& s) {
    double louder = std::max(s.rms_end, s.rms_start), softer = std::min(s.rms_end, s.rms_start);
    return s.jump <= 1.5 * s.local_step && s.jump <= 8000 && softer * 10.0 >= std::max(louder, 1.0);
}

class MusicLoopTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterAssetsOnce(); }
};

TEST_F(MusicLoopTest, EachTrackDecodesWholeAndJoinsItsStartWithoutAClick) {
    for (const Asset& a : AssetTable()) {
        if (a.kind != Kind::Ogg) continue;
        SCOPED_TRACE(a.name);
        Pcm pcm = Decode(a.name);
        ASSERT_EQ(pcm.channels, 2);
        ASSERT_EQ(pcm.rate, 44100);
        EXPECT_NEAR(double(pcm.Frames()) / pcm.rate, a.seconds, a.seconds * 0.05);
        // Not silence and not clipped flat.
        double sum = 0;
        int peak = 0;
        for (int16_t v : pcm.samples) sum += double(v) * v, peak = std::max(peak, std::abs(int(v)));
        double rms = std::sqrt(sum / double(pcm.samples.size()));
        EXPECT_GT(rms, 2000.0);
        EXPECT_LT(peak, 32767);
        Seam seam = MeasureSeam(pcm);
        EXPECT_TRUE(SeamIsClean(seam)) << "jump " << seam.jump << ", local step " << seam.local_step << ", rms "
                                       << seam.rms_end << " -> " << seam.rms_start;
    }
}

TEST_F(MusicLoopTest, TheSeamRuleCatchesACutWaveAndASilentEnd) {
    Pcm pcm;
    pcm.channels = 2;
    pcm.rate = 44100;
    // A 220 Hz tone cut off a quarter period early: the loop jumps.
    const size_t frames = 44100;
    const double period = 44100.0 / 220.0;
    for (size_t i = 0; i < frames; ++i) {
        auto v = int16_t(12000 * std::sin(2 * M_PI * double(i) / period));
        pcm.samples.push_back(v);
        pcm.samples.push_back(v);
    }
    const size_t whole = size_t(std::floor(frames / period) * period);
    Pcm whole_periods = pcm;
    whole_periods.samples.resize(whole * 2);
    EXPECT_TRUE(SeamIsClean(MeasureSeam(whole_periods)));
    Pcm cut = pcm;
    cut.samples.resize(size_t(whole - size_t(period / 4)) * 2);
    EXPECT_FALSE(SeamIsClean(MeasureSeam(cut)));
    // Fading to silence at the end and starting loud is a click as well.
    Pcm faded = whole_periods;
    for (size_t i = whole - 882; i < whole; ++i) faded.samples[i * 2] = faded.samples[i * 2 + 1] = 0;
    EXPECT_FALSE(SeamIsClean(MeasureSeam(faded)));
}

}  // namespace
}  // namespace asset_test

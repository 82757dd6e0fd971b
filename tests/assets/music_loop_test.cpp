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

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "asset_table.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/resources/incbin.h"

namespace asset_test {
namespace {

struct Pcm {
    int channels = 0, rate = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

// The whole track decoded by the toolkit's Ogg loader, as the game loads it.
Pcm Decode(const std::string& name) {
    Pcm pcm;
    kestrel::TAudioSamplePtr sample = kestrel::LoadAudioSample("incbin::" + name);
    if (!sample || sample->format != kestrel::SF_STEREO16LE) return pcm;
    pcm.channels = 2;
    pcm.rate = sample->hertz;
    const auto* s = reinterpret_cast<const int16_t*>(sample->samples);
    pcm.samples.assign(s, s + size_t(sample->length) * 2);
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
        // Centred: a DC offset is a step (a click) wherever the music is
        // cut off. Each channel's mean within 0.1 % of full scale.
        for (size_t c = 0; c < 2; ++c) {
            double mean = 0;
            for (size_t i = c; i < pcm.samples.size(); i += 2) mean += pcm.samples[i];
            mean /= double(pcm.Frames());
            EXPECT_LT(std::fabs(mean), 0.001 * 32768) << "channel " << c << " mean " << mean;
        }
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
        auto v = int16_t(12000 * std::sin(2 * std::numbers::pi * double(i) / period));
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

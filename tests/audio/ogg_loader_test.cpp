#include <gtest/gtest.h>

#include <cmath>

#include "../resources/alloc_probe.h"
#include "ogg_bytes.h"
#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/resources/stream.h"

using namespace kestrel;

namespace {

constexpr double kPi = 3.14159265358979;

class OggLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitAudioCore();
        InitStreamFactories();
        InitOggLoader();
        InitWavLoader();
    }
    TAudioSamplePtr Load(std::vector<std::uint8_t> bytes) {
        data_ = std::move(bytes);
        return LoadAudioSample(TRamStream::Create(data_.data(), std::int64_t(data_.size()), 1, 0));
    }
    static float Tone(int frame, int channel) {
        const double hz = channel ? 660.0 : 440.0;
        return float(0.5 * std::sin(2 * kPi * hz * frame / 44100.0));
    }
    std::vector<std::uint8_t> data_;
};

}  // namespace

TEST_F(OggLoaderTest, MonoAndStereoGiveTheirFormatsAndTheDecoderLength) {
    for (int channels : {1, 2}) {
        auto file = kestrel_test::EncodeOgg(channels, 44100, 30000, Tone);
        ASSERT_FALSE(file.empty());
        const long long total = kestrel_test::OggPcmTotal(file);
        ASSERT_GT(total, 0);
        auto s = Load(file);
        ASSERT_TRUE(s) << channels;
        EXPECT_EQ(s->format, channels == 1 ? SF_MONO16LE : SF_STEREO16LE);
        EXPECT_EQ(s->hertz, 44100);
        EXPECT_EQ(s->length, total);
        EXPECT_EQ(s->length, 30000);

        // The decoded tone matches what was encoded (lossy: within a few %).
        const auto* pcm = reinterpret_cast<const std::int16_t*>(s->samples);
        double err = 0, energy = 0;
        for (int i = 1000; i < 29000; ++i) {
            for (int c = 0; c < channels; ++c) {
                const double want = Tone(i, c) * 32767.0;
                const double got = pcm[i * channels + c];
                err += (got - want) * (got - want);
                energy += want * want;
            }
        }
        EXPECT_LT(err / energy, 0.01) << channels;
    }
}

TEST_F(OggLoaderTest, SmallRateAndWavFirst) {
    auto file = kestrel_test::EncodeOgg(1, 22050, 5000, Tone);
    auto s = Load(file);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->hertz, 22050);
    EXPECT_EQ(s->length, kestrel_test::OggPcmTotal(file));
}

TEST_F(OggLoaderTest, BadDataIsRefused) {
    auto file = kestrel_test::EncodeOgg(2, 44100, 20000, Tone);
    // Not Ogg at all.
    EXPECT_FALSE(Load(std::vector<std::uint8_t>(4000, 0x55)));
    EXPECT_FALSE(Load({}));
    // Cut inside the headers: refused.
    for (std::size_t cut : {std::size_t(10), std::size_t(200)}) {
        std::vector<std::uint8_t> part(file.begin(), file.begin() + std::ptrdiff_t(cut));
        EXPECT_FALSE(Load(part)) << cut;
    }
    // Cut inside the audio: the decoder then states the length of what is
    // left, and the loader gives exactly that or refuses; never more.
    for (std::size_t cut = 300; cut < file.size(); cut += 97) {
        std::vector<std::uint8_t> part(file.begin(), file.begin() + std::ptrdiff_t(cut));
        const long long stated = kestrel_test::OggPcmTotal(part);
        auto s = Load(part);
        if (s) {
            EXPECT_EQ(s->length, stated) << cut;
            EXPECT_LT(s->length, 20000) << cut;
        }
    }
    // A flipped byte in the middle of the audio: refused or loaded, no crash.
    auto damaged = file;
    damaged[damaged.size() / 2] ^= 0xFF;
    auto s = Load(damaged);
    if (s) {
        EXPECT_EQ(s->length, 20000);
    }
}

TEST_F(OggLoaderTest, ForgedLengthAllocatesOnlyWhatTheFileHolds) {
    auto file = kestrel_test::EncodeOgg(2, 44100, 100000, Tone);
    // Claims 500 million frames (2 GB of PCM) in a file of a few KB.
    kestrel_test::SetLastGranule(file, 500000000);
    ASSERT_EQ(kestrel_test::OggPcmTotal(file), 500000000);
    kestrel_test::ResetLargestAllocation();
    EXPECT_FALSE(Load(file));
    EXPECT_LT(kestrel_test::LargestAllocation(), std::size_t(file.size()) * 64 + (4u << 20));

    // A length past what a sample can hold is refused outright.
    kestrel_test::SetLastGranule(file, 0x7FFFFFF0);
    kestrel_test::ResetLargestAllocation();
    EXPECT_FALSE(Load(file));
    EXPECT_LT(kestrel_test::LargestAllocation(), 4u << 20);
}

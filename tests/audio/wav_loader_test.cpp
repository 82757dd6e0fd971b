#include <gtest/gtest.h>

#include "../resources/alloc_probe.h"
#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/resources/stream.h"
#include "wav_bytes.h"

using namespace kestrel;
using kestrel_test::WavBytes;

namespace {

class WavLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitAudioCore();
        InitStreamFactories();
        InitOggLoader();
        InitWavLoader();
    }
    TAudioSamplePtr Load(const WavBytes& w) {
        data_ = w.bytes;
        return LoadAudioSample(TRamStream::Create(data_.data(), std::int64_t(data_.size()), 1, 0));
    }
    std::vector<std::uint8_t> data_;
};

}  // namespace

TEST_F(WavLoaderTest, PlainFormatsLoadTheirFrames) {
    struct Case {
        int channels, bits, format;
    } cases[] = {{1, 8, SF_MONO8}, {2, 8, SF_STEREO8}, {1, 16, SF_MONO16LE}, {2, 16, SF_STEREO16LE}};
    for (const Case& c : cases) {
        WavBytes w = WavBytes::Header(c.channels, 22050, c.bits);
        w.Tag("data").U32(12);
        for (int i = 0; i < 12; ++i) w.bytes.push_back(std::uint8_t(i * 7));
        auto s = Load(w);
        ASSERT_TRUE(s) << c.format;
        EXPECT_EQ(s->format, c.format);
        EXPECT_EQ(s->hertz, 22050);
        EXPECT_EQ(s->length, 12 / BytesPerSample(c.format));
        for (int i = 0; i < 12; ++i) EXPECT_EQ(s->samples[i], std::uint8_t(i * 7));
    }
}

TEST_F(WavLoaderTest, ChunkLayouts) {
    // An 18-byte "fmt " chunk: the two extra bytes are skipped.
    WavBytes a = WavBytes::Header(1, 44100, 16, 1, 18);
    a.Tag("data").U32(4).U16(0x1234).U16(0xBEEF);
    auto s = Load(a);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->length, 2);
    EXPECT_EQ(s->samples[0], 0x34);

    // A "LIST" chunk of odd size between "fmt " and "data", skipped exactly.
    WavBytes b = WavBytes::Header(2, 44100, 16);
    b.Tag("LIST").U32(5).Fill(5, 'x').Tag("data").U32(8).Fill(8, 9);
    s = Load(b);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->length, 2);
    EXPECT_EQ(s->format, SF_STEREO16LE);

    // The first chunk after "WAVE" must be "fmt ".
    WavBytes c;
    c.Tag("RIFF").U32(0).Tag("WAVE").Tag("LIST").U32(4).Fill(4, 0);
    c.bytes.insert(c.bytes.end(), a.bytes.begin() + 12, a.bytes.end());
    EXPECT_FALSE(Load(c));

    // No "data" chunk at all.
    WavBytes d = WavBytes::Header(1, 44100, 16);
    d.Tag("LIST").U32(2).Fill(2, 0);
    EXPECT_FALSE(Load(d));

    // Not RIFF, not WAVE.
    WavBytes e;
    e.Tag("RIFX").U32(0).Tag("WAVE");
    EXPECT_FALSE(Load(e));
    WavBytes f;
    f.Tag("RIFF").U32(0).Tag("AVI ");
    EXPECT_FALSE(Load(f));
}

TEST_F(WavLoaderTest, UnsupportedEncodingsAreRejected) {
    WavBytes bits24 = WavBytes::Header(2, 44100, 24);
    bits24.Tag("data").U32(6).Fill(6, 0);
    EXPECT_FALSE(Load(bits24));
    WavBytes ieee = WavBytes::Header(1, 44100, 32, 3);
    ieee.Tag("data").U32(8).Fill(8, 0);
    EXPECT_FALSE(Load(ieee));
    WavBytes surround = WavBytes::Header(6, 44100, 16);
    surround.Tag("data").U32(12).Fill(12, 0);
    EXPECT_FALSE(Load(surround));
    WavBytes noRate = WavBytes::Header(1, 0, 16);
    noRate.Tag("data").U32(2).Fill(2, 0);
    EXPECT_FALSE(Load(noRate));
}

TEST_F(WavLoaderTest, OddDataSizeDropsThePartialFrame) {
    WavBytes w = WavBytes::Header(1, 22050, 16);
    w.Tag("data").U32(8011).Fill(8011, 0x11);
    auto s = Load(w);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->length, 4005);
    EXPECT_EQ(s->capacity, 8010);
}

TEST_F(WavLoaderTest, ForgedAndTruncatedSizesAllocateNothingLarge) {
    // A "data" size of 0xFFFFFFFF over 100 real bytes.
    WavBytes forged = WavBytes::Header(2, 44100, 16);
    forged.Tag("data").U32(0xFFFFFFFFu).Fill(100, 1);
    kestrel_test::ResetLargestAllocation();
    EXPECT_FALSE(Load(forged));
    EXPECT_LT(kestrel_test::LargestAllocation(), 1u << 20);

    // 1 GB stated, a few bytes present.
    WavBytes big = WavBytes::Header(1, 44100, 16);
    big.Tag("data").U32(1u << 30).Fill(10, 1);
    kestrel_test::ResetLargestAllocation();
    EXPECT_FALSE(Load(big));
    EXPECT_LT(kestrel_test::LargestAllocation(), 1u << 20);

    // A skipped chunk larger than the file.
    WavBytes skip = WavBytes::Header(1, 44100, 16);
    skip.Tag("LIST").U32(0xFFFFFFF0u).Tag("data").U32(2).Fill(2, 0);
    EXPECT_FALSE(Load(skip));

    // Every truncation of a good file is refused or loads, never crashes;
    // cutting inside the data refuses it.
    WavBytes good = WavBytes::Header(2, 44100, 16, 1, 18);
    good.Tag("LIST").U32(3).Fill(3, 0).Tag("data").U32(16).Fill(16, 5);
    ASSERT_TRUE(Load(good));
    const std::vector<std::uint8_t>& full = good.bytes;
    for (std::size_t n = 0; n < full.size(); ++n) {
        WavBytes cut;
        cut.bytes.assign(full.begin(), full.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(Load(cut)) << "cut at " << n;
    }
}

TEST_F(WavLoaderTest, LoadsThroughIncbinAndAsSound) {
    static WavBytes w = [] {
        WavBytes x = WavBytes::Header(1, 22050, 16);
        x.Tag("LIST").U32(4).Fill(4, 0).Tag("data").U32(6).U16(1).U16(2).U16(3);
        return x;
    }();
    IncbinAdd("test/three.wav", w.bytes.data(), std::int64_t(w.bytes.size()));
    auto s = LoadAudioSample("INCBIN::test/three.wav");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->length, 3);
    SetAudioDriver("Null");
    EXPECT_TRUE(LoadSound("incbin::test/three.wav"));
    EXPECT_FALSE(LoadSound("incbin::test/Three.wav"));
}

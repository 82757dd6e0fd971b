#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/audio/audio.h"
#include "toolkit/core/error.h"

using namespace kestrel;

namespace {

struct Frame {
    int left, right;
};

// Reads frame i of a sample the way the formats are laid out.
Frame At(const TAudioSample& s, int i) {
    const std::uint8_t* p = s.samples + i * BytesPerSample(s.format);
    auto le = [](const std::uint8_t* q) { return int(std::int16_t(q[0] | q[1] << 8)); };
    auto be = [](const std::uint8_t* q) { return int(std::int16_t(q[0] << 8 | q[1])); };
    switch (s.format) {
        case SF_MONO8: return {p[0], p[0]};
        case SF_MONO16LE: return {le(p), le(p)};
        case SF_MONO16BE: return {be(p), be(p)};
        case SF_STEREO8: return {p[0], p[1]};
        case SF_STEREO16LE: return {le(p), le(p + 2)};
        case SF_STEREO16BE: return {be(p), be(p + 2)};
    }
    return {0, 0};
}

TAudioSamplePtr Stereo16(std::initializer_list<Frame> frames) {
    auto s = CreateAudioSample(int(frames.size()), 44100, SF_STEREO16LE);
    int i = 0;
    for (Frame f : frames) {
        auto* p = reinterpret_cast<std::int16_t*>(s->samples) + 2 * i++;
        p[0] = std::int16_t(f.left);
        p[1] = std::int16_t(f.right);
    }
    return s;
}

bool Is8(int f) { return f == SF_MONO8 || f == SF_STEREO8; }
bool IsMono(int f) { return ChannelsPerSample(f) == 1; }
int To16(int u8) { return u8 * 257 - 32768; }

}  // namespace

TEST(SampleFormat, TablesAndCreate) {
    const int bytes[] = {0, 1, 2, 2, 2, 4, 4};
    const int channels[] = {0, 1, 1, 1, 2, 2, 2};
    for (int f = 0; f <= 6; ++f) {
        EXPECT_EQ(BytesPerSample(f), bytes[f]);
        EXPECT_EQ(ChannelsPerSample(f), channels[f]);
    }
    EXPECT_EQ(BytesPerSample(7), 0);
    EXPECT_EQ(BytesPerSample(-1), 0);

    auto s = CreateAudioSample(100, 22050, SF_STEREO16LE);
    EXPECT_EQ(s->capacity, 400);
    EXPECT_EQ(s->length, 100);
    EXPECT_EQ(s->hertz, 22050);
    std::uint8_t mem[8] = {};
    auto st = CreateStaticAudioSample(mem, 4, 8000, SF_MONO16LE);
    EXPECT_EQ(st->capacity, -1);
    EXPECT_EQ(st->samples, mem);
    EXPECT_THROW(CreateAudioSample(1, 44100, 9), TRuntimeException);
    EXPECT_THROW(CreateAudioSample(-1, 44100, SF_MONO8), TRuntimeException);
    EXPECT_THROW(CreateAudioSample(0x40000000, 44100, SF_STEREO16LE), TRuntimeException);
}

TEST(SampleFormat, StereoToMono8AveragesTowardZero) {
    // (1000 + -1001) / 2 = -0.5 truncates to 0, and (0 + 32768) / 257 = 127.
    auto s = Stereo16({{1000, -1001}})->Convert(SF_MONO8);
    ASSERT_EQ(s->length, 1);
    EXPECT_EQ(s->samples[0], 127);
    // Negative averages truncate toward zero too: (-3 + 0) / 2 = -1.
    auto m = Stereo16({{-3, 0}})->Convert(SF_MONO16LE);
    EXPECT_EQ(At(*m, 0).left, -1);
}

TEST(SampleFormat, ExtremesAndByteOrder) {
    auto s = Stereo16({{32767, -32768}, {0x1234, -2}});
    auto u8 = s->Convert(SF_STEREO8);
    EXPECT_EQ(u8->samples[0], 255);
    EXPECT_EQ(u8->samples[1], 0);
    auto be = s->Convert(SF_STEREO16BE);
    EXPECT_EQ(be->samples[4], 0x12);
    EXPECT_EQ(be->samples[5], 0x34);
    EXPECT_EQ(be->samples[6], 0xFF);
    EXPECT_EQ(be->samples[7], 0xFE);
    auto back = u8->Convert(SF_STEREO16LE);
    EXPECT_EQ(At(*back, 0).left, 32767);   // 255 * 257 - 32768
    EXPECT_EQ(At(*back, 0).right, -32768);  // 0 * 257 - 32768
}

TEST(SampleFormat, EveryPairConverts) {
    auto source = Stereo16({{0, 0}, {32767, -32768}, {1000, -1001}, {-12345, 23456}, {257, 513}});
    for (int a = 1; a <= 6; ++a) {
        auto inA = source->Convert(a);
        for (int b = 1; b <= 6; ++b) {
            auto inB = inA->Convert(b);
            ASSERT_EQ(inB->format, b);
            ASSERT_EQ(inB->length, source->length);
            ASSERT_EQ(inB->capacity, source->length * BytesPerSample(b));
            for (int i = 0; i < source->length; ++i) {
                // Expected: the frame of A in the 16-bit stereo domain, then
                // the rules for B.
                Frame f = At(*inA, i);
                if (Is8(a)) f = {To16(f.left), To16(f.right)};
                if (a == b) {
                    Frame got = At(*inB, i), want = At(*inA, i);
                    EXPECT_EQ(got.left, want.left);
                    EXPECT_EQ(got.right, want.right);
                    continue;
                }
                if (IsMono(b)) f.left = f.right = (f.left + f.right) / 2;
                if (Is8(b)) f = {(f.left + 32768) / 257, (f.right + 32768) / 257};
                Frame got = At(*inB, i);
                EXPECT_EQ(got.left, f.left) << a << "->" << b << " frame " << i;
                EXPECT_EQ(got.right, f.right) << a << "->" << b << " frame " << i;
            }
        }
    }
}

TEST(SampleFormat, CopyIsIndependentAndUnknownFormatFails) {
    auto s = Stereo16({{1, 2}, {3, 4}});
    auto c = s->Copy();
    ASSERT_NE(c->samples, s->samples);
    EXPECT_EQ(std::memcmp(c->samples, s->samples, 8), 0);
    EXPECT_EQ(c->capacity, 8);
    c->samples[0] = 99;
    EXPECT_EQ(s->samples[0], 1);
    EXPECT_THROW(s->Convert(0), TRuntimeException);
    EXPECT_THROW(s->Convert(7), TRuntimeException);
    std::uint8_t out[4];
    EXPECT_THROW(ConvertSamples(s->samples, 12, out, SF_MONO8, 1), TRuntimeException);
}

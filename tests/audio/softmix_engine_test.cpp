// The mixer's arithmetic, checked on exact sample values: resampling steps,
// interpolation, the pan law, 8-bit widening, looping through the guard
// frame, volume ramps, the start delay and the accumulator conversion; and
// the channel handle table with its generations.
#include <gtest/gtest.h>

#include <numeric>

#include "tests/audio/softmix_test_support.h"

namespace kestrel::softmix::test {
namespace {

// Plays a mono 16-bit sample and lets the 20 ms start delay pass on the clock.
std::uint32_t PlayNow(ManualEngine& m, Sample* s, std::uint32_t handle = 0, bool paused = false) {
    g_now = 1000;
    const std::uint32_t h = m.engine.Play(s, paused, handle);
    g_now = 1000 + kStartDelayMs;
    return h;
}

Sample* Mono16(Engine& e, const std::vector<std::int16_t>& values, int hertz, bool loop) {
    const auto bytes = Pcm16(values);
    return e.CreateSound(static_cast<int>(values.size()), 16, 1, hertz, bytes.data(), loop);
}

TEST(SoftMixMixer, ConversionShiftsByFourAndClamps) {
    EXPECT_EQ(ConvertAccumulator(600000), 32767);
    EXPECT_EQ(ConvertAccumulator(-600000), -32768);
    EXPECT_EQ(ConvertAccumulator(16 * 1234), 1234);
    EXPECT_EQ(ConvertAccumulator(-17), -2);  // arithmetic shift rounds down
    EXPECT_EQ(ConvertAccumulator(32767 * 16 + 15), 32767);
}

TEST(SoftMixMixer, HalfRateOnA22050HzSampleStepsAQuarterFrame) {
    EXPECT_EQ(StepFor(22050, ToRate(0.5f)), 0x4000);
    EXPECT_EQ(StepFor(44100, kRateOne), 0x10000);
    EXPECT_EQ(StepFor(22050, kRateOne), 0x8000);

    ManualEngine m;
    std::vector<std::int16_t> ramp;
    for (int i = 0; i < 64; ++i) ramp.push_back(static_cast<std::int16_t>(i * 4000 % 32000));
    Sample* s = Mono16(m.engine, ramp, 22050, false);
    const std::uint32_t h = PlayNow(m, s);
    m.engine.SetRate(h, 0.5f);
    const auto out = m.Pull(40);
    // Quarter-frame positions interpolate linearly between neighbours.
    for (int f = 0; f < 28; ++f) {
        const int whole = f / 4, quarter = f % 4;
        const int expect = ramp[whole] + (ramp[whole + 1] - ramp[whole]) * quarter / 4;
        ASSERT_EQ(Left(out, f), expect) << "frame " << f;
        ASSERT_EQ(Right(out, f), expect) << "frame " << f;
    }
    EXPECT_EQ(m.engine.ChannelPosition(h), 10);  // 40 frames of a quarter each
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, PanLawIsLinearWithoutCentreAttenuation) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(2000, 12000), 44100, false);

    std::uint32_t h = PlayNow(m, s);
    auto out = m.Pull(16);
    EXPECT_EQ(Left(out, 5), 12000);  // pan 0: both sides at full volume
    EXPECT_EQ(Right(out, 5), 12000);

    m.engine.SetPan(h, 1.0f);
    out = m.Pull(16);
    EXPECT_EQ(Left(out, 5), 0);
    EXPECT_EQ(Right(out, 5), 12000);

    m.engine.SetPan(h, -0.5f);
    out = m.Pull(16);
    EXPECT_EQ(Left(out, 5), 12000);
    EXPECT_EQ(Right(out, 5), 6000);

    EXPECT_EQ(LeftGain(4096, 4096), 0);
    EXPECT_EQ(RightGain(4096, 4096), 4096);
    EXPECT_EQ(LeftGain(2048, -4096), 2048);
    EXPECT_EQ(RightGain(2048, -1024), 1536);
    m.engine.StopChannel(h);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, StereoSamplesFeedEachSideFromItsOwnValue) {
    ManualEngine m;
    std::vector<std::int16_t> lr;
    for (int i = 0; i < 100; ++i) {
        lr.push_back(-7000);
        lr.push_back(9000);
    }
    const auto bytes = Pcm16(lr);
    Sample* s = m.engine.CreateSound(100, 16, 2, 44100, bytes.data(), false);
    const std::uint32_t h = PlayNow(m, s);
    m.engine.SetVolume(h, 0.5f);  // not sounded yet: taken at once
    const auto out = m.Pull(8);
    EXPECT_EQ(Left(out, 0), -3500);
    EXPECT_EQ(Right(out, 0), 4500);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, EightBitDataIsWidenedAround0x8000) {
    EXPECT_EQ(Widen8(0), -32768);
    EXPECT_EQ(Widen8(128), 0);
    EXPECT_EQ(Widen8(255), 32512);
    EXPECT_EQ(Widen8(1), -32512);

    ManualEngine m;
    const std::uint8_t data[] = {0, 128, 255, 64, 192};
    Sample* s = m.engine.CreateSound(5, 8, 1, 44100, data, false);
    PlayNow(m, s);
    const auto out = m.Pull(8);
    const std::int16_t expect[] = {-32768, 0, 32512, -16384, 16384, 0, 0, 0};
    for (int f = 0; f < 8; ++f) EXPECT_EQ(Left(out, f), expect[f]) << f;
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, LoopingVoiceWrapsThroughTheGuardFrame) {
    ManualEngine m;
    const std::vector<std::int16_t> four = {1000, 2000, 3000, 4000};
    Sample* loop = Mono16(m.engine, four, 22050, true);
    Sample* once = Mono16(m.engine, four, 22050, false);
    ASSERT_EQ(loop->data.back(), 1000);  // guard = first frame
    ASSERT_EQ(once->data.back(), 4000);  // guard = last frame

    std::uint32_t h = PlayNow(m, loop);
    auto out = m.Pull(20);
    // Half-frame steps: the half past the last frame lies between 4000 and
    // the guard copy of the first frame; then the position wraps to 0.
    const std::int16_t looped[] = {1000, 1500, 2000, 2500, 3000, 3500, 4000, 2500, 1000, 1500};
    for (int f = 0; f < 10; ++f) EXPECT_EQ(Left(out, f), looped[f]) << f;
    EXPECT_EQ(Left(out, 16), 1000);
    EXPECT_EQ(m.engine.ChannelStatus(h), kStatusPlayingLooped);
    m.engine.StopChannel(h);

    h = PlayNow(m, once);
    EXPECT_EQ(m.engine.ChannelStatus(h), kStatusPlayingOnce);
    out = m.Pull(20);
    const std::int16_t single[] = {1000, 1500, 2000, 2500, 3000, 3500, 4000, 4000, 0, 0};
    for (int f = 0; f < 10; ++f) EXPECT_EQ(Left(out, f), single[f]) << f;
    EXPECT_EQ(m.engine.ChannelStatus(h), kStatusFinished);
    m.engine.FreeSound(loop);
    m.engine.FreeSound(once);
}

TEST(SoftMixMixer, VolumeChangeRampsLinearlyAcrossOneBlock) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(64, 16384), 44100, true);
    const std::uint32_t h = PlayNow(m, s);
    auto out = m.Pull(512);
    EXPECT_EQ(Left(out, 511), 16384);

    // 4096 -> 0 across 512 frames: 8 gain units a frame, 16384 * gain / 4096.
    m.engine.SetVolume(h, 0.0f);
    out = m.Pull(512);
    for (int f = 0; f < 512; ++f) ASSERT_EQ(Left(out, f), 4 * (4096 - 8 * (f + 1))) << f;
    EXPECT_EQ(Left(out, 0), 16352);
    EXPECT_EQ(Left(out, 255), 8192);
    EXPECT_EQ(Right(out, 511), 0);

    // At volume 0 the voice is not mixed, but its position moves on.
    out = m.Pull(512);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::int16_t v) { return v == 0; }));
    m.Pull(40);
    EXPECT_EQ(m.engine.ChannelPosition(h), (3 * 512 + 40) % 64);

    // Back up: 0 -> 2048 rises by 4 gain units a frame.
    m.engine.SetVolume(h, 0.5f);
    out = m.Pull(512);
    EXPECT_EQ(Left(out, 0), 16);
    EXPECT_EQ(Left(out, 511), 8192);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, AVoiceQueuedAtTimeTStarts20MsLater) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(4000, 5000), 44100, false);

    g_now = 777;
    m.engine.Play(s, false, 0);
    auto out = m.Pull(1024);  // mixed at the same millisecond: 20 ms = 882 frames
    EXPECT_EQ(Left(out, 881), 0);
    EXPECT_EQ(Left(out, 882), 5000);
    EXPECT_EQ(Right(out, 882), 5000);

    m.Pull(4000);  // let it finish
    g_now = 5000;
    m.engine.Play(s, false, 0);
    g_now = 5015;  // the output takes it 15 ms later: 5 ms left
    out = m.Pull(512);
    EXPECT_EQ(Left(out, 219), 0);
    EXPECT_EQ(Left(out, 220), 5000);

    m.Pull(4000);
    g_now = 9000;
    m.engine.Play(s, false, 0);
    g_now = 9100;  // taken late: no wait at all
    out = m.Pull(8);
    EXPECT_EQ(Left(out, 0), 5000);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, PausedVoiceIsSilentAndResumesWhereItWas) {
    ManualEngine m;
    std::vector<std::int16_t> ramp(600);
    std::iota(ramp.begin(), ramp.end(), 0);
    Sample* s = Mono16(m.engine, ramp, 44100, false);
    const std::uint32_t h = PlayNow(m, s, 0, true);
    EXPECT_EQ(m.engine.ChannelStatus(h), kStatusPlayingOnce | kStatusPaused);
    auto out = m.Pull(64);
    EXPECT_EQ(Left(out, 10), 0);
    m.engine.SetPaused(h, false);
    out = m.Pull(64);
    EXPECT_EQ(Left(out, 10), 10);
    m.engine.SetPaused(h, true);
    m.Pull(64);
    m.engine.SetPaused(h, false);
    out = m.Pull(64);
    EXPECT_EQ(Left(out, 0), 64);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, EmptyLoopingSampleEndsInsteadOfSpinning) {
    ManualEngine m;
    Sample* s = m.engine.CreateSound(0, 16, 1, 44100, nullptr, true);
    ASSERT_NE(s, nullptr);
    const std::uint32_t h = PlayNow(m, s);
    const auto out = m.Pull(64);
    EXPECT_EQ(Left(out, 0), 0);
    EXPECT_EQ(m.engine.ChannelStatus(h), kStatusFinished);
    m.engine.FreeSound(s);
}

TEST(SoftMixMixer, ManyVoicesSumAndClampInTheAccumulator) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(100, 30000), 44100, false);
    for (int i = 0; i < 3; ++i) PlayNow(m, s);
    auto out = m.Pull(4);
    EXPECT_EQ(Left(out, 0), 32767);
    m.Pull(200);
    // Only the sum is clamped, not the partial sums on the way.
    Sample* pos = Mono16(m.engine, std::vector<std::int16_t>(100, 20000), 44100, false);
    Sample* neg = Mono16(m.engine, std::vector<std::int16_t>(100, -20000), 44100, false);
    PlayNow(m, pos);
    PlayNow(m, pos);
    PlayNow(m, neg);
    out = m.Pull(4);
    EXPECT_EQ(Left(out, 0), 20000);
    m.engine.FreeSound(s);
    m.engine.FreeSound(pos);
    m.engine.FreeSound(neg);
}

TEST(SoftMixHandles, AllSlotsThenNullThenReuseWithANewGeneration) {
    HandleTable t;
    std::vector<std::uint32_t> handles;
    for (int i = 0; i < 4095; ++i) {
        const std::uint32_t h = t.Alloc();
        ASSERT_NE(h, 0u) << i;
        handles.push_back(h);
    }
    EXPECT_EQ(t.Alloc(), 0u);
    EXPECT_EQ(handles[0] & kSlotMask, 1u);
    EXPECT_EQ(handles[0] & ~kSlotMask, 4096u);

    t.Free(handles[7]);
    EXPECT_FALSE(t.Valid(handles[7]));
    const std::uint32_t again = t.Alloc();
    EXPECT_EQ(again & kSlotMask, handles[7] & kSlotMask);
    EXPECT_EQ(again - handles[7], 4096u);
    EXPECT_TRUE(t.Valid(again));
    EXPECT_FALSE(t.Valid(handles[7]));
    t.Free(handles[7]);  // stale: does nothing
    EXPECT_TRUE(t.Valid(again));
    EXPECT_FALSE(t.Valid(0));
}

TEST(SoftMixEngine, StaleHandleIgnoresVolumeAndStop) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(4000, 8000), 44100, true);
    const std::uint32_t first = m.engine.AllocChannel();
    m.engine.FreeChannel(first);
    const std::uint32_t second = m.engine.AllocChannel();
    ASSERT_EQ(first & kSlotMask, second & kSlotMask);
    ASSERT_NE(first, second);
    ASSERT_EQ(PlayNow(m, s, second), second);
    EXPECT_EQ(PlayNow(m, s, first), 0u);

    m.engine.SetVolume(first, 0.0f);
    m.engine.StopChannel(first);
    m.engine.SetPaused(first, true);
    EXPECT_EQ(m.engine.ChannelStatus(first), 0);
    EXPECT_EQ(m.engine.ChannelStatus(second), kStatusPlayingLooped);
    auto out = m.Pull(512);
    EXPECT_EQ(Left(out, 511), 8000);

    m.engine.StopChannel(second);
    EXPECT_EQ(m.engine.ChannelStatus(second), 0);  // its slot went back to the free list
    out = m.Pull(64);
    EXPECT_EQ(Left(out, 0), 0);
    m.engine.FreeSound(s);
}

TEST(SoftMixEngine, AllocationsRunOutAt4095AndNothingWorksUnstarted) {
    ManualEngine m;
    for (int i = 0; i < 4095; ++i) ASSERT_NE(m.engine.AllocChannel(), 0u) << i;
    EXPECT_EQ(m.engine.AllocChannel(), 0u);
    Sample* s = Mono16(m.engine, {1, 2, 3}, 44100, false);
    EXPECT_EQ(m.engine.Play(s, false, 0), 0u);  // no slot for a fresh channel

    Engine idle(&FakeClock);
    EXPECT_EQ(idle.AllocChannel(), 0u);
    EXPECT_EQ(idle.Play(s, false, 0), 0u);
    EXPECT_EQ(idle.ChannelStatus(4097), 0);
    idle.SetVolume(4097, 1.0f);  // nothing to act on
    m.engine.FreeSound(s);
}

TEST(SoftMixEngine, FinishedVoicesAreReusedAndChannelsDetachOnFree) {
    ManualEngine m;
    Sample* s = Mono16(m.engine, std::vector<std::int16_t>(100, 3000), 44100, false);
    // Freeing a channel does not stop what it plays (fire-and-forget sounds).
    const std::uint32_t h = PlayNow(m, s);
    m.engine.FreeChannel(h);
    auto out = m.Pull(8);
    EXPECT_EQ(Left(out, 0), 3000);
    m.Pull(200);
    for (int round = 0; round < 50; ++round) {
        const std::uint32_t c = PlayNow(m, s);
        m.Pull(128);
        EXPECT_EQ(m.engine.ChannelStatus(c), kStatusFinished);
        m.engine.FreeChannel(c);
    }
    EXPECT_LE(m.engine.VoiceCount(), 2);
    EXPECT_EQ(s->refs, 2);  // the creator's and the one finished voice still holding it
    // Playing on a channel again replaces its voice.
    const std::uint32_t c = PlayNow(m, s);
    ASSERT_EQ(PlayNow(m, s, c), c);
    out = m.Pull(8);
    EXPECT_EQ(Left(out, 0), 3000);  // one voice, not two
    m.engine.FreeSound(s);
}

TEST(SoftMixEngine, ControlConversionsTruncateAndSaturate) {
    EXPECT_EQ(ToGain(1.0f), 4096);
    EXPECT_EQ(ToGain(-1.0f), -4096);
    EXPECT_EQ(ToGain(0.99999f), 4095);
    EXPECT_EQ(ToGain(100.0f), 32767);
    EXPECT_EQ(ToRate(0.5f), 0x8000);
    EXPECT_EQ(ToRate(2.0f), 0x20000);
    EXPECT_EQ(ToRate(1e12f), 0x7FFFFFFF);
}

}  // namespace
}  // namespace kestrel::softmix::test

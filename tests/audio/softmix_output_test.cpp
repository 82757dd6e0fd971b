// The two outputs on a simulated wave device that the test plays by hand:
// the multimedia ring with its latency, underrun and reset rules, and the
// streaming buffer with its segments. What the device plays must be exactly
// what the mixer makes.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/audio/softmix_test_support.h"
#include "toolkit/audio/softmix_multimedia_output.h"
#include "toolkit/audio/softmix_simulated_device.h"
#include "toolkit/audio/softmix_stream_output.h"

namespace kestrel::softmix::test {
namespace {

// A looping sound that is not constant, so that any misplaced block shows.
std::vector<std::uint8_t> Wobble(int frames) {
    std::vector<std::int16_t> v;
    for (int i = 0; i < frames; ++i) v.push_back(static_cast<std::int16_t>((i * 37) % 20000 - 10000));
    return Pcm16(v);
}

template <class Out>
struct Rig {
    explicit Rig(bool threaded = false, bool failOpen = false) : engine(&FakeClock) {
        auto d = std::make_unique<SimulatedWaveDevice>();
        d->FailOpen(failOpen);
        dev = d.get();
        auto o = std::make_unique<Out>(std::move(d), threaded);
        out = o.get();
        started = engine.Start(std::move(o));
    }
    std::int64_t PlayValues() {
        std::uint64_t b = 0;
        dev->Position(b);
        return static_cast<std::int64_t>(b / 2);
    }
    Engine engine;
    SimulatedWaveDevice* dev;
    Out* out;
    int started;
};

using MM = MultimediaOutput;
constexpr int kBlock = MM::kBlockValues;

TEST(SoftMixMultimedia, StartsPrimedAndKeepsLatencyBlocksAhead) {
    Rig<MM> r;
    ASSERT_EQ(r.started, 0);
    EXPECT_TRUE(r.dev->Playing());
    EXPECT_EQ(r.out->Latency(), 6);
    EXPECT_EQ(r.out->WritePosition(), 6 * kBlock);
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 6 * kBlock);  // nothing played yet
    r.dev->Advance(512);
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 7 * kBlock);
    r.dev->Advance(700);  // not a whole block
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 9 * kBlock);
    EXPECT_EQ(r.dev->ResetCount(), 0);
}

TEST(SoftMixMultimedia, DevicePlaysExactlyTheMixedBlocksAroundTheRing) {
    g_now = 0;
    Rig<MM> r;
    ManualEngine ref;
    const auto pcm = Wobble(1000);
    Sample* a = r.engine.CreateSound(1000, 16, 1, 22050, pcm.data(), true);
    Sample* b = ref.engine.CreateSound(1000, 16, 1, 22050, pcm.data(), true);
    // The output mixed its six priming blocks before the sound was played.
    auto expect = ref.Pull(6 * 512);
    r.engine.SetPan(r.engine.Play(a, false, 0), 0.25f);
    ref.engine.SetPan(ref.engine.Play(b, false, 0), 0.25f);
    const auto rest = ref.Pull(94 * 512);
    expect.insert(expect.end(), rest.begin(), rest.end());

    for (int i = 0; i < 100; ++i) {
        r.dev->Advance(512);
        r.out->Run();
    }
    const auto played = r.dev->TakeRecording();
    ASSERT_EQ(played.size(), expect.size());
    EXPECT_EQ(played, expect);
    EXPECT_NE(played[2 * 40 * 512], 0);
    EXPECT_EQ(r.dev->ResetCount(), 0);
    r.engine.FreeSound(a);
    ref.engine.FreeSound(b);
}

// Lets playback catch up with the written data, then runs the routine once.
void Underrun(Rig<MM>& r) {
    const std::int64_t ahead = r.out->WritePosition() - r.PlayValues();
    r.dev->Advance(static_cast<std::size_t>(ahead - kBlock) / 2);
    r.out->Run();
}

TEST(SoftMixMultimedia, UnderrunRaisesLatencyAndResumesAfter250Runs) {
    Rig<MM> r;
    r.dev->Advance(4 * 512);
    r.out->Run();  // four blocks played, two more written: still ahead
    EXPECT_EQ(r.out->ResumeIn(), 0);

    Underrun(r);
    EXPECT_EQ(r.out->Latency(), 8);
    EXPECT_EQ(r.out->WritePosition(), 8 * kBlock * 2);
    EXPECT_EQ(r.out->ResumeIn(), 250);
    EXPECT_FALSE(r.dev->Playing());
    EXPECT_EQ(r.dev->ResetCount(), 1);
    const auto ring = r.dev->Ring();
    EXPECT_TRUE(std::all_of(ring.begin(), ring.end(), [](std::int16_t v) { return v == 0; }));

    for (int i = 0; i < 249; ++i) r.out->Run();
    EXPECT_FALSE(r.dev->Playing());
    EXPECT_EQ(r.dev->PlayCount(), 1);
    r.out->Run();  // the 250th
    EXPECT_TRUE(r.dev->Playing());
    EXPECT_EQ(r.dev->PlayCount(), 2);
    EXPECT_EQ(r.PlayValues(), 0);

    // Playing on from 0 with the write position 16 blocks ahead.
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 16 * kBlock);
    r.dev->Advance(9 * 512);
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 17 * kBlock);  // 9 played + latency 8

    // A further underrun adds two blocks while the latency is at most 9:
    // from 6 that is 8, 10, and there it stays.
    const int expected[] = {10, 10};
    for (int latency : expected) {
        SCOPED_TRACE(latency);
        ASSERT_EQ(r.out->ResumeIn(), 0);
        Underrun(r);
        EXPECT_EQ(r.out->Latency(), latency);
        EXPECT_EQ(r.out->WritePosition(), latency * kBlock * 2);
        EXPECT_EQ(r.out->ResumeIn(), 250);
        for (int i = 0; i < 250; ++i) r.out->Run();
        EXPECT_TRUE(r.dev->Playing());
    }
}

TEST(SoftMixMultimedia, FailedResubmissionIsReported) {
    Rig<MM> r;
    Underrun(r);
    for (int i = 0; i < 249; ++i) r.out->Run();
    r.dev->FailPlay(true);
    testing::internal::CaptureStdout();
    r.out->Run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "waveOutWrite error\n");
    EXPECT_FALSE(r.dev->Playing());
}

TEST(SoftMixMultimedia, UnreadableOrHugePositionRestartsTheRing) {
    Rig<MM> r;
    r.dev->Advance(3 * 512);
    r.out->Run();
    EXPECT_EQ(r.out->WritePosition(), 9 * kBlock);

    r.dev->FailPosition(true);
    r.out->Run();
    EXPECT_EQ(r.dev->ResetCount(), 1);
    EXPECT_EQ(r.dev->PlayCount(), 2);
    EXPECT_EQ(r.out->WritePosition(), 6 * kBlock);  // refilled at once
    EXPECT_EQ(r.out->Latency(), 6);
    r.dev->FailPosition(false);
    r.out->Run();
    EXPECT_EQ(r.out->ResumeIn(), 0);  // not taken for an underrun

    r.dev->SetPosition((MM::kMaxPosition + 1) * 2);
    r.out->Run();
    EXPECT_EQ(r.dev->ResetCount(), 2);
    EXPECT_EQ(r.PlayValues(), 0);
    EXPECT_EQ(r.out->Latency(), 6);

    // Exactly the limit is still a position: far behind it, an underrun.
    r.dev->SetPosition(MM::kMaxPosition * 2);
    r.out->Run();
    EXPECT_EQ(r.out->ResumeIn(), 250);
    EXPECT_EQ(r.out->Latency(), 8);
}

TEST(SoftMixMultimedia, DeviceThatCannotOpenFailsTheStart) {
    Rig<MM> r(false, true);
    EXPECT_EQ(r.started, -1);
    EXPECT_FALSE(r.engine.Started());
    EXPECT_EQ(r.engine.AllocChannel(), 0u);
}

using ST = StreamOutput;

TEST(SoftMixStream, MixesAtMostTwoSegmentsPerWakeIntoTheBuffer) {
    Rig<ST> r;
    ASSERT_EQ(r.started, 0);
    EXPECT_TRUE(r.dev->Playing());
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 16384);
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 16384);

    r.dev->Advance(2048);  // one segment
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 24576);
    r.dev->Advance(4096);  // two more: the region wraps to the buffer start
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 40960);
    r.dev->Advance(6144);  // three segments, past the buffer end
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 57344);  // limited to two
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 65536);  // the rest on the next wake
    r.dev->Advance(100);  // inside a segment: nothing new
    r.out->Step();
    EXPECT_EQ(r.out->Written(), 65536);
}

TEST(SoftMixStream, DevicePlaysExactlyWhatTheMixerMade) {
    g_now = 0;
    Rig<ST> r;
    ManualEngine ref;
    const auto pcm = Wobble(3000);
    Sample* a = r.engine.CreateSound(3000, 16, 1, 32000, pcm.data(), true);
    Sample* b = ref.engine.CreateSound(3000, 16, 1, 32000, pcm.data(), true);
    r.engine.SetVolume(r.engine.Play(a, false, 0), 0.75f);
    ref.engine.SetVolume(ref.engine.Play(b, false, 0), 0.75f);
    r.out->Step();
    for (int i = 0; i < 40; ++i) {
        r.dev->Advance(2048);
        r.out->Step();
    }
    const auto played = r.dev->TakeRecording();
    const auto expect = ref.Pull(40 * 2048);
    ASSERT_EQ(played.size(), expect.size());
    EXPECT_EQ(played, expect);
    EXPECT_EQ(played[0], 0);  // the start delay
    EXPECT_NE(played[2 * 1000], 0);
    r.engine.FreeSound(a);
    ref.engine.FreeSound(b);
}

TEST(SoftMixStream, ThreadEndsForGoodAfterASecondWithoutNotification) {
    Rig<ST> r(true);
    ASSERT_EQ(r.started, 0);
    const auto t0 = std::chrono::steady_clock::now();
    while (!r.out->Finished() && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto waited = std::chrono::steady_clock::now() - t0;
    EXPECT_TRUE(r.out->Finished());
    EXPECT_GE(waited, std::chrono::milliseconds(950));
    EXPECT_FALSE(r.dev->Playing());  // the buffer was stopped
    EXPECT_EQ(r.out->Written(), 16384);
    r.dev->Advance(4096);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(r.out->Written(), 16384);  // nothing wakes it again
}

TEST(SoftMixStream, NotificationsKeepTheThreadTwoSegmentsAhead) {
    Rig<ST> r(true);
    ASSERT_EQ(r.started, 0);
    auto waitFor = [&](std::int64_t written) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (r.out->Written() < written && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return r.out->Written();
    };
    EXPECT_EQ(waitFor(16384), 16384);
    for (int i = 1; i <= 40; ++i) {
        r.dev->Advance(2048);  // one segment, one notification, one segment mixed
        ASSERT_EQ(waitFor(16384 + 8192 * i), 16384 + 8192 * i) << i;
        EXPECT_EQ(r.out->Written() - 2 * r.PlayValues(), 16384);
    }
    EXPECT_FALSE(r.out->Finished());
    const auto t0 = std::chrono::steady_clock::now();
    r.engine.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace kestrel::softmix::test

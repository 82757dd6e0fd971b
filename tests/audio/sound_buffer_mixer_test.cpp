#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "toolkit/audio/sound_buffer_device.h"
#include "toolkit/audio/sound_buffer_mixer.h"

using namespace kestrel;

namespace {

class MixerTest : public ::testing::Test {
protected:
    // A buffer of 16-bit samples (interleaved when stereo).
    SoundBufferPtr Make(const std::vector<std::int16_t>& values, int channels = 1,
                        int hertz = 44100) {
        SoundBufferDesc d;
        d.channels = channels;
        d.hertz = hertz;
        d.bitsPerSample = 16;
        d.bytes = int(values.size() * 2);
        SoundBufferPtr b;
        EXPECT_EQ(mixer->CreateBuffer(d, &b), SB_OK);
        void* p = nullptr;
        int n = 0;
        EXPECT_EQ(b->Lock(0, 0, &p, &n, nullptr, nullptr, SB_LOCK_ENTIREBUFFER), SB_OK);
        EXPECT_EQ(n, d.bytes);
        std::memcpy(p, values.data(), std::size_t(n));
        EXPECT_EQ(b->Unlock(p, n, nullptr, 0), SB_OK);
        return b;
    }
    std::vector<std::int16_t> Mix(int frames) {
        std::vector<std::int16_t> out(std::size_t(frames) * 2, 12345);
        mixer->Mix(out.data(), frames);
        return out;
    }
    static int Status(const SoundBufferPtr& b) {
        int s = -1;
        b->GetStatus(&s);
        return s;
    }
    std::shared_ptr<SoundBufferMixer> mixer = SoundBufferMixer::Create();
};

}  // namespace

TEST_F(MixerTest, SilenceWithoutVoicesAndSameRateIsExact) {
    auto out = Mix(8);
    for (auto v : out) EXPECT_EQ(v, 0);

    auto b = Make({100, -200, 300, 32767, -32768});
    ASSERT_EQ(b->Play(0), SB_OK);
    EXPECT_EQ(Status(b), SB_STATUS_PLAYING);
    out = Mix(8);
    const int want[] = {100, -200, 300, 32767, -32768, 0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(out[2 * i], want[i]) << i;
        EXPECT_EQ(out[2 * i + 1], want[i]) << i;
    }
    // It ended: not playing, rewound, and silent from then on.
    EXPECT_EQ(Status(b), 0);
    int pos = -1;
    b->GetCurrentPosition(&pos);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(mixer->PlayingCount(), 0);
}

TEST_F(MixerTest, Mono22050IntoTheOutputRate) {
    auto b = Make({1000, 3000, -1000, 5000}, 1, 22050);
    b->Play(0);
    auto out = Mix(10);
    // Each source frame lasts two output frames; the second is halfway to
    // the next one.
    const int want[] = {1000, 2000, 3000, 1000, -1000, 2000, 5000, 5000, 0, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(out[2 * i], want[i]) << i;
        EXPECT_EQ(out[2 * i + 1], want[i]) << i;
    }
    // Frequency changes take effect at once; 0 restores the buffer's rate.
    int hz = 0;
    ASSERT_EQ(b->SetFrequency(44100), SB_OK);
    b->GetFrequency(&hz);
    EXPECT_EQ(hz, 44100);
    ASSERT_EQ(b->SetFrequency(0), SB_OK);
    b->GetFrequency(&hz);
    EXPECT_EQ(hz, 22050);
    EXPECT_EQ(b->SetFrequency(99), SB_ERR_INVALIDPARAM);
    EXPECT_EQ(b->SetFrequency(200001), SB_ERR_INVALIDPARAM);
}

TEST_F(MixerTest, VolumeAndPanInDecibels) {
    auto b = Make(std::vector<std::int16_t>(64, 10000));
    b->SetVolume(-600);  // -6 dB: 10^(-600/2000) = 0.501187
    b->Play(SB_PLAY_LOOPING);
    auto out = Mix(4);
    EXPECT_NEAR(out[0], 5012, 1);
    EXPECT_NEAR(out[1], 5012, 1);

    b->SetVolume(0);
    b->SetPan(2000);  // right: the left side loses 20 dB
    out = Mix(4);
    EXPECT_NEAR(out[0], 1000, 1);
    EXPECT_EQ(out[1], 10000);

    b->SetPan(-1000);  // left: the right side loses 10 dB
    out = Mix(4);
    EXPECT_EQ(out[0], 10000);
    EXPECT_NEAR(out[1], 3162, 1);

    b->SetPan(10000);
    out = Mix(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 10000);

    b->SetPan(0);
    b->SetVolume(-10000);  // the lowest level is silence
    out = Mix(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);

    int v = 1, p = 1;
    b->GetVolume(&v);
    b->GetPan(&p);
    EXPECT_EQ(v, -10000);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(b->SetVolume(1), SB_ERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(-10001), SB_ERR_INVALIDPARAM);
    EXPECT_EQ(b->SetPan(10001), SB_ERR_INVALIDPARAM);
}

TEST_F(MixerTest, StereoLoopWrapsStopKeepsPositionAndRewind) {
    auto b = Make({1, -1, 2, -2, 3, -3}, 2);
    b->Play(SB_PLAY_LOOPING);
    EXPECT_EQ(Status(b), SB_STATUS_PLAYING | SB_STATUS_LOOPING);
    auto out = Mix(7);
    const int want[] = {1, 2, 3, 1, 2, 3, 1};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(out[2 * i], want[i]);
        EXPECT_EQ(out[2 * i + 1], -want[i]);
    }
    // Looping past a whole mixing pass keeps wrapping.
    out = Mix(SoundBufferMixer::kBlockFrames * 2 + 5);
    EXPECT_EQ(Status(b), SB_STATUS_PLAYING | SB_STATUS_LOOPING);

    b->Stop();
    int pos = -1;
    b->GetCurrentPosition(&pos);
    out = Mix(3);
    for (auto v : out) EXPECT_EQ(v, 0);
    int after = -1;
    b->GetCurrentPosition(&after);
    EXPECT_EQ(after, pos);  // stopped buffers keep their place
    b->Play(SB_PLAY_LOOPING);
    out = Mix(1);
    EXPECT_EQ(out[0], pos / 4 + 1);
    ASSERT_EQ(b->SetCurrentPosition(0), SB_OK);
    out = Mix(1);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(b->SetCurrentPosition(24), SB_ERR_INVALIDPARAM);
}

TEST_F(MixerTest, VoicesAddAndClip) {
    auto a = Make({20000, -20000, 1000, 8});
    auto b = Make({20000, -20000, 2000, 8});
    auto c = Make({0, 0, 0, 8});
    a->Play(0);
    b->Play(0);
    c->Play(0);
    EXPECT_EQ(mixer->PlayingCount(), 3);
    auto out = Mix(4);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[2], -32768);
    EXPECT_EQ(out[4], 3000);
    EXPECT_EQ(out[6], 24);
    EXPECT_EQ(mixer->PlayingCount(), 0);
}

TEST_F(MixerTest, DuplicatesShareDataAndPlayAlone) {
    auto a = Make({7, 7, 7, 7});
    SoundBufferPtr d;
    ASSERT_EQ(mixer->DuplicateBuffer(a, &d), SB_OK);
    EXPECT_EQ(mixer->BufferCount(), 2);
    d->Play(0);
    EXPECT_EQ(Status(a), 0);
    auto out = Mix(1);
    EXPECT_EQ(out[0], 7);
    a->Play(0);
    out = Mix(1);
    EXPECT_EQ(out[0], 14);

    // Writing a buffer whose data has played goes through a copy that Unlock
    // puts in place for both.
    void* p = nullptr;
    int n = 0;
    ASSERT_EQ(a->Lock(0, 8, &p, &n, nullptr, nullptr, 0), SB_OK);
    std::int16_t ones[4] = {1, 1, 1, 1};
    std::memcpy(p, ones, 8);
    ASSERT_EQ(a->Unlock(p, n, nullptr, 0), SB_OK);
    out = Mix(1);
    EXPECT_EQ(out[0], 2);
    // Released buffers stop sounding at once.
    d.reset();
    EXPECT_EQ(mixer->BufferCount(), 1);
    out = Mix(1);
    EXPECT_EQ(out[0], 1);
}

TEST_F(MixerTest, BadDescriptionsAndEmptyBuffers) {
    SoundBufferPtr b;
    SoundBufferDesc d;
    d.channels = 3;
    d.hertz = 44100;
    d.bitsPerSample = 16;
    d.bytes = 6;
    EXPECT_EQ(mixer->CreateBuffer(d, &b), SB_ERR_INVALIDPARAM);
    d.channels = 2;
    d.bitsPerSample = 24;
    EXPECT_EQ(mixer->CreateBuffer(d, &b), SB_ERR_INVALIDPARAM);
    d.bitsPerSample = 16;
    d.hertz = 0;
    EXPECT_EQ(mixer->CreateBuffer(d, &b), SB_ERR_INVALIDPARAM);
    d.hertz = 44100;
    d.bytes = 6;  // not whole frames
    EXPECT_EQ(mixer->CreateBuffer(d, &b), SB_ERR_INVALIDPARAM);
    EXPECT_FALSE(b);
    d.bytes = 0;
    ASSERT_EQ(mixer->CreateBuffer(d, &b), SB_OK);
    EXPECT_EQ(b->Play(SB_PLAY_LOOPING), SB_OK);
    EXPECT_EQ(Status(b), 0);
    auto out = Mix(4);
    for (auto v : out) EXPECT_EQ(v, 0);
}

TEST_F(MixerTest, EightBitStereoIsCentred) {
    SoundBufferDesc d;
    d.channels = 2;
    d.hertz = 44100;
    d.bitsPerSample = 8;
    d.bytes = 4;
    SoundBufferPtr b;
    ASSERT_EQ(mixer->CreateBuffer(d, &b), SB_OK);
    void* p;
    int n;
    b->Lock(0, 4, &p, &n, nullptr, nullptr, 0);
    const std::uint8_t v[4] = {128, 255, 0, 129};
    std::memcpy(p, v, 4);
    b->Unlock(p, n, nullptr, 0);
    b->Play(0);
    auto out = Mix(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 127 * 256);
    EXPECT_EQ(out[2], -128 * 256);
    EXPECT_EQ(out[3], 256);
}

// The main thread issues commands while another thread mixes, as the audio
// callback does (checked for races under ThreadSanitizer).
TEST(SoundBufferDevice, CommandsWhileAnotherThreadMixes) {
    OfflineSoundBufferDevice device;
    auto& mixer = *device.Mixer();
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<std::int16_t> out(512 * 2);
        while (!stop.load()) device.MixFrames(out.data(), 512);
    });
    SoundBufferDesc d;
    d.channels = 1;
    d.hertz = 22050;
    d.bitsPerSample = 16;
    d.bytes = 2000;
    std::vector<SoundBufferPtr> bufs;
    for (int i = 0; i < 200; ++i) {
        SoundBufferPtr b;
        ASSERT_EQ(mixer.CreateBuffer(d, &b), SB_OK);
        void* p;
        int n;
        b->Lock(0, 0, &p, &n, nullptr, nullptr, SB_LOCK_ENTIREBUFFER);
        std::memset(p, i, std::size_t(n));
        b->Unlock(p, n, nullptr, 0);
        b->Play(i % 3 == 0 ? SB_PLAY_LOOPING : 0);
        b->SetVolume(-(i * 37 % 10000));
        b->SetPan(i * 91 % 20001 - 10000);
        b->SetFrequency(8000 + i * 100);
        if (i % 5 == 0) bufs.clear();
        SoundBufferPtr dup;
        mixer.DuplicateBuffer(b, &dup);
        dup->Play(0);
        bufs.push_back(b);
        bufs.push_back(dup);
        int status;
        b->GetStatus(&status);
        if (i % 7 == 0) b->Stop();
    }
    // One loud loop stays playing, so that sound is heard whenever the mixing
    // thread gets to run (it may start only after every other voice ended).
    SoundBufferPtr loud;
    ASSERT_EQ(mixer.CreateBuffer(d, &loud), SB_OK);
    void* p;
    int n;
    loud->Lock(0, 0, &p, &n, nullptr, nullptr, SB_LOCK_ENTIREBUFFER);
    std::memset(p, 0x40, std::size_t(n));
    loud->Unlock(p, n, nullptr, 0);
    loud->Play(SB_PLAY_LOOPING);
    bufs.push_back(loud);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((mixer.FramesMixed() < 44100 || mixer.AudibleFrames() == 0) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    stop = true;
    audio.join();
    EXPECT_GE(mixer.FramesMixed(), 44100u);
    EXPECT_GT(mixer.AudibleFrames(), 0u);
    bufs.clear();
    loud.reset();
    EXPECT_EQ(mixer.BufferCount(), 0);
}

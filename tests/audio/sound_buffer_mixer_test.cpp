#include <gtest/gtest.h>

#include <algorithm>
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

    // Levels up to the bus limiter's threshold (-1 dBFS) pass unchanged.
    auto b = Make({100, -200, 300, 29204, -29204});
    ASSERT_EQ(b->Play(0), SB_OK);
    EXPECT_EQ(Status(b), SB_STATUS_PLAYING);
    out = Mix(8);
    const int want[] = {100, -200, 300, 29204, -29204, 0, 0, 0};
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

// Power of one frequency in a channel of interleaved stereo (Goertzel).
double Power(const std::vector<std::int16_t>& lr, int from, int count, double hz, int channel = 0) {
    const double w = 2 * std::acos(-1.0) * hz / 44100.0, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (int i = from; i < from + count; ++i) {
        const double s0 = lr[std::size_t(2 * i + channel)] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - c * s1 * s2;
}

std::vector<std::int16_t> Tone(int frames, int hertz, double hz, double amplitude) {
    std::vector<std::int16_t> v(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        v[std::size_t(i)] = std::int16_t(std::lround(amplitude * std::sin(2 * std::acos(-1.0) * hz * i / hertz)));
    return v;
}

// A sound recorded at 22050 Hz comes out at 44100 Hz band-limited: its tone
// at its level, and no mirror image above the source's Nyquist frequency
// (22050 - f) within 60 dB of it; a one-shot plays out and ends.
TEST_F(MixerTest, Mono22050IntoTheOutputRate) {
    auto b = Make(Tone(22050, 22050, 5000.0, 12000.0), 1, 22050);
    b->Play(0);
    auto out = Mix(44100 + 4000);
    const double tone = Power(out, 10000, 8820, 5000.0);
    const double image = Power(out, 10000, 8820, 22050.0 - 5000.0);
    EXPECT_LT(10 * std::log10(image / tone), -60.0);
    int peak = 0;
    for (int i = 10000; i < 20000; ++i) peak = std::max(peak, std::abs(int(out[std::size_t(2 * i)])));
    EXPECT_NEAR(peak, 12000, 300);
    EXPECT_EQ(out[2 * 15000], out[2 * 15000 + 1]);  // mono on both sides
    EXPECT_EQ(Status(b), 0);  // one second of sound has played out
    for (int i = 44100 + 100; i < 44100 + 4000; ++i) EXPECT_EQ(out[std::size_t(2 * i)], 0) << i;
    int pos = -1;
    b->GetCurrentPosition(&pos);
    EXPECT_EQ(pos, 0);

    // Played again from the start, a short one-shot sound comes out whole.
    auto c = Make({1000, 3000, -1000, 5000}, 1, 22050);
    c->Play(0);
    out = Mix(64);
    double energy = 0;
    for (int i = 0; i < 64; ++i) energy += double(out[std::size_t(2 * i)]) * out[std::size_t(2 * i)];
    EXPECT_GT(energy, 0.5 * 2 * (1e6 + 9e6 + 1e6 + 25e6));  // about twice the source's frames
    EXPECT_EQ(Status(c), 0);

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

// Voices add up; a sum above full scale is limited along a soft knee, not
// clipped, and the bus comes back to unity after its release, so quiet
// sounds pass unchanged again.
TEST_F(MixerTest, VoicesAddAndLoudSumsAreLimitedNotClipped) {
    auto a = Make({20000, -20000, 1000, 8});
    auto b = Make({20000, -20000, 2000, 8});
    auto c = Make({0, 0, 0, 8});
    a->Play(0);
    b->Play(0);
    c->Play(0);
    EXPECT_EQ(mixer->PlayingCount(), 3);
    auto out = Mix(4);
    EXPECT_GT(out[0], 29204);  // -1 dBFS
    EXPECT_LT(out[0], 32767);
    EXPECT_LT(out[2], -29204);
    EXPECT_GT(out[2], -32767);
    EXPECT_GT(out[4], 2000);  // the gain is recovering
    EXPECT_LE(out[4], 3000);
    EXPECT_EQ(mixer->PlayingCount(), 0);

    // Eight copies of a loud tone in phase (a clear of eight cells): about
    // +18 dB over full scale, and never one sample at full scale.
    std::vector<SoundBufferPtr> burst;
    for (int i = 0; i < 8; ++i) {
        burst.push_back(Make(Tone(8820, 44100, 440.0, 24000.0)));
        burst.back()->Play(0);
    }
    out = Mix(8820 + 44100);
    int full = 0, peak = 0;
    for (auto v : out) {
        full += v >= 32767 || v <= -32767;
        peak = std::max(peak, std::abs(int(v)));
    }
    EXPECT_EQ(full, 0);
    EXPECT_GT(peak, 29204);
    // A second later the bus is transparent: a tone below -1 dBFS comes
    // through sample for sample.
    auto quiet = Make(Tone(4410, 44100, 440.0, 20000.0));
    quiet->Play(0);
    out = Mix(4410);
    const auto want = Tone(4410, 44100, 440.0, 20000.0);
    for (int i = 0; i < 4410; ++i) ASSERT_EQ(out[std::size_t(2 * i)], want[std::size_t(i)]) << i;
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
    const std::uint8_t v[4] = {128, 200, 60, 129};  // below the limiter's threshold
    std::memcpy(p, v, 4);
    b->Unlock(p, n, nullptr, 0);
    b->Play(0);
    auto out = Mix(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 72 * 256);
    EXPECT_EQ(out[2], -68 * 256);
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

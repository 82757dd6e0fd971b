// The SoftMix drivers through the audio module's own functions, on
// simulated wave devices: registration, selection by name, the modes and
// their outputs, sounds and channels, stale channels across restarts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/softmix_driver.h"
#include "toolkit/audio/softmix_simulated_device.h"
#include "toolkit/audio/softmix_voice.h"
#include "toolkit/audio/softmix_wave_device.h"
#include "toolkit/audio/sound_buffer_device.h"

namespace kestrel {
namespace {

// The devices the drivers opened, newest last; the first `g_failOpens` fail.
std::vector<softmix::SimulatedWaveDevice*> g_devices;
int g_failOpens = 0;

std::unique_ptr<softmix::WaveDevice> TestDevice() {
    auto d = std::make_unique<softmix::SimulatedWaveDevice>();
    if (g_failOpens > 0) {
        --g_failOpens;
        d->FailOpen(true);
    }
    g_devices.push_back(d.get());
    return d;
}

class SoftMixDriver : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InitAudioCore();
        InitSoftMixDriver();
        softmix::SetWaveDeviceFactory(&TestDevice);
    }
    void SetUp() override {
        g_devices.clear();
        g_failOpens = 0;
    }
    void TearDown() override { SetAudioDriver("Null"); }

    // Plays the newest device in real time until `done`, then on for the
    // 20 blocks the output may be ahead (or up to a time limit).
    template <class Done>
    static std::vector<std::int16_t> PlayUntil(Done done, int maxMs = 3000) {
        softmix::SimulatedWaveDevice* dev = g_devices.back();
        std::vector<std::int16_t> all;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
        int after = 40;  // half blocks
        while (after > 0 && std::chrono::steady_clock::now() < end) {
            if (done()) --after;
            dev->Advance(256);
            std::this_thread::sleep_for(std::chrono::microseconds(5800));
            auto part = dev->TakeRecording();
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }
};

TEST_F(SoftMixDriver, RegisteredNewestFirstAndSelectedOnlyByName) {
    const auto names = AudioDrivers();
    ASSERT_GE(names.size(), 3u);
    auto at = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    EXPECT_LT(at("SoftMix"), at("SoftMix Multimedia"));
    EXPECT_LT(at("SoftMix Multimedia"), at("Null"));
    // No sound-buffer service in this program: no "SoftMix DirectSound".
    ASSERT_FALSE(SoundBufferServiceAvailable());
    EXPECT_EQ(AudioDriverExists("SoftMix DirectSound"), 0);
    EXPECT_TRUE(g_devices.empty());  // registering opened nothing

    EXPECT_EQ(SetAudioDriver("softmix multimedia"), 1);
    EXPECT_EQ(AudioDriver()->Name(), "SoftMix Multimedia");
    ASSERT_EQ(g_devices.size(), 1u);
    EXPECT_EQ(g_devices[0]->Ring().size(), 32u * 1024u);  // the 32-block ring
    EXPECT_TRUE(g_devices[0]->Playing());
}

TEST_F(SoftMixDriver, ModesChooseTheirOutputs) {
    // Mode -1 falls back to the streaming buffer when the ring cannot open.
    g_failOpens = 1;
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    ASSERT_EQ(g_devices.size(), 2u);
    EXPECT_EQ(g_devices[1]->Ring().size(), 32768u / 2);

    // Mode 0 has no fall-back; a failed start leaves "Null" current.
    g_failOpens = 1;
    EXPECT_EQ(SetAudioDriver("SoftMix Multimedia"), 0);
    EXPECT_EQ(AudioDriver()->Name(), "Null");

    // Mode 1 only the streaming buffer (the registered mode-1 driver needs the
    // sound-buffer service, so one is made here).
    static auto streamOnly = TSoftMixAudioDriver::Create("SoftMix Stream Test", 1);
    g_devices.clear();
    ASSERT_EQ(SetAudioDriver("SoftMix Stream Test"), 1);
    ASSERT_EQ(g_devices.size(), 1u);
    EXPECT_EQ(g_devices[0]->Ring().size(), 32768u / 2);

    // No wave device at all: no SoftMix driver starts.
    softmix::SetWaveDeviceFactory(nullptr);
    EXPECT_EQ(SetAudioDriver("SoftMix"), 0);
    softmix::SetWaveDeviceFactory(&TestDevice);
}

TEST_F(SoftMixDriver, LoadAndPlayReachTheDevice) {
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    // Big-endian mono 16-bit: converted before it reaches the engine.
    auto sample = CreateAudioSample(4410, 44100, SF_MONO16BE);
    for (int i = 0; i < 4410; ++i) {
        sample->samples[2 * i] = 0x12;
        sample->samples[2 * i + 1] = 0x34;
    }
    TSoundPtr sound = LoadSound(sample);
    auto sm = std::dynamic_pointer_cast<TSoftMixSound>(sound);
    ASSERT_TRUE(sm);
    EXPECT_EQ(sm->sm_sound->bits, 16);
    EXPECT_EQ(sm->sm_sound->channels, 1);
    EXPECT_FALSE(sm->sm_sound->loop);

    TChannelPtr ch = PlaySound(sound);
    ASSERT_TRUE(std::dynamic_pointer_cast<TSoftMixChannel>(ch));
    EXPECT_EQ(ChannelPlaying(ch), 1);
    const auto played = PlayUntil([&] { return !ChannelPlaying(ch); });
    EXPECT_EQ(ChannelPlaying(ch), 0);
    const auto n = std::count(played.begin(), played.end(), std::int16_t(0x1234));
    EXPECT_EQ(n, 2 * 4410);  // every frame, both sides, exactly once
}

TEST_F(SoftMixDriver, ChannelsCueResumeStopAndReuse) {
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    auto sample = CreateAudioSample(100, 22050, SF_STEREO8);
    std::fill(sample->samples, sample->samples + 200, std::uint8_t(200));
    TSoundPtr looped = LoadSound(sample, SOUND_LOOP);
    auto sm = std::dynamic_pointer_cast<TSoftMixSound>(looped);
    ASSERT_TRUE(sm);
    EXPECT_EQ(sm->sm_sound->bits, 8);
    EXPECT_EQ(sm->sm_sound->channels, 2);
    EXPECT_TRUE(sm->sm_sound->loop);

    TChannelPtr ch = CueSound(looped);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ChannelPlaying(ch), 0);  // cued = paused
    ResumeChannel(ch);
    EXPECT_EQ(ChannelPlaying(ch), 1);
    PauseChannel(ch);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    ResumeChannel(ch);

    // Playing again on the same channel returns that channel.
    EXPECT_EQ(PlaySound(looped, ch), ch);
    // A channel of another driver is refused.
    EXPECT_EQ(PlaySound(looped, std::make_shared<TChannel>()), nullptr);

    auto smc = std::dynamic_pointer_cast<TSoftMixChannel>(ch);
    StopChannel(ch);
    EXPECT_EQ(smc->sm_channel, 0u);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    // A stopped channel has no handle: a new channel is made.
    TChannelPtr again = PlaySound(looped, ch);
    ASSERT_TRUE(again);
    EXPECT_NE(again, ch);
    EXPECT_EQ(ChannelPlaying(again), 1);
    StopChannel(again);
}

TEST_F(SoftMixDriver, AllocChannelRunsOutAt4095AndRecoversOnRelease) {
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    std::vector<TChannelPtr> held;
    for (int i = 0; i < 4095; ++i) {
        TChannelPtr c = AllocChannel();
        ASSERT_TRUE(c) << i;
        held.push_back(c);
    }
    EXPECT_EQ(AllocChannel(), nullptr);
    held.pop_back();  // the channel object frees its handle
    EXPECT_TRUE(AllocChannel());
}

TEST_F(SoftMixDriver, ChannelsOfAnEarlierStartDoNothing) {
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    auto sample = CreateAudioSample(1000, 44100, SF_MONO16LE);
    TSoundPtr sound = LoadSound(sample, SOUND_LOOP);
    TChannelPtr old = AllocChannel();
    ASSERT_TRUE(old);

    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);  // restart: a fresh handle table
    TChannelPtr fresh = AllocChannel();
    ASSERT_EQ(std::dynamic_pointer_cast<TSoftMixChannel>(fresh)->sm_channel,
              std::dynamic_pointer_cast<TSoftMixChannel>(old)->sm_channel);
    old->Stop();   // must not free the new run's slot
    old.reset();   // nor must its destruction
    EXPECT_EQ(PlaySound(sound, fresh), fresh);
    EXPECT_EQ(ChannelPlaying(fresh), 1);
}

TEST_F(SoftMixDriver, NullDriverAfterShutdownLeavesChannelsSilent) {
    ASSERT_EQ(SetAudioDriver("SoftMix"), 1);
    auto sample = CreateAudioSample(1000, 44100, SF_MONO16LE);
    TSoundPtr sound = LoadSound(sample, SOUND_LOOP);
    TChannelPtr ch = PlaySound(sound);
    EXPECT_EQ(ChannelPlaying(ch), 1);
    ASSERT_EQ(SetAudioDriver("Null"), 1);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    SetChannelVolume(ch, 0.5f);
    StopChannel(ch);
    EXPECT_EQ(PlaySound(sound), nullptr);  // the engine is closed
}

}  // namespace
}  // namespace kestrel

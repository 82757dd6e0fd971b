// The SoftMix drivers over SDL audio: registration next to the sound-buffer
// service, failure without a device, and the whole path through SDL's disk
// driver, which writes the output stream to a raw S16LE file in real time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/sdl/direct_sound_module.h"
#include "toolkit/audio/sdl/wave_output.h"

namespace kestrel {
namespace {

std::string RawPath() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/kestrel_softmix_" + std::to_string(::getpid()) + ".raw";
}

class SoftMixSdl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InitAudioCore();
        sdl::InitDirectSoundAudio();  // start-up row 11
        sdl::InitSoftMixAudio();      // start-up row 13
    }
};

TEST_F(SoftMixSdl, RegisteredAfterTheDirectSoundDriverNewestFirst) {
    const auto names = AudioDrivers();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[0], "SoftMix");
    EXPECT_EQ(names[1], "SoftMix Multimedia");
    EXPECT_EQ(names[2], "SoftMix DirectSound");
    EXPECT_EQ(names[3], "DirectSound");
    EXPECT_EQ(AudioDriverExists("softmix directsound"), 1);
}

TEST_F(SoftMixSdl, NoAudioDeviceMeansNoStart) {
    setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
    EXPECT_EQ(SetAudioDriver("SoftMix"), 0);
    EXPECT_EQ(SetAudioDriver("SoftMix DirectSound"), 0);
    EXPECT_EQ(AudioDriver()->Name(), "Null");
}

// Plays a tone through the named driver and finds it, unchanged on both
// sides, in what SDL wrote.
void PlayToneThroughDisk(const std::string& driver) {
    const std::string path = RawPath();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    unsetenv("SDL_DISKAUDIODELAY");  // real-time pacing: one buffer per buffer's duration
    ASSERT_EQ(SetAudioDriver(driver), 1) << "SDL's disk audio driver did not open";

    constexpr int kFrames = 8820;  // 0.2 s of a 441 Hz tone
    auto tone = CreateAudioSample(kFrames, 44100, SF_MONO16LE);
    auto* t = reinterpret_cast<std::int16_t*>(tone->samples);
    for (int i = 0; i < kFrames; ++i)
        t[i] = static_cast<std::int16_t>(std::lround(12000 * std::sin(2 * 3.14159265358979 * i / 100.0)));
    t[0] = 5;  // marks the start

    TSoundPtr sound = LoadSound(tone);
    TChannelPtr ch = PlaySound(sound);
    ASSERT_TRUE(ch);
    const auto start = std::chrono::steady_clock::now();
    while (ChannelPlaying(ch) && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(ChannelPlaying(ch), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the ring ahead of playback
    SetAudioDriver("Null");  // closes the device and its file

    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    std::vector<std::int16_t> out(bytes.size() / 2);
    std::memcpy(out.data(), bytes.data(), out.size() * 2);
    std::size_t at = 0;
    while (at + 1 < out.size() && !(out[at] == 5 && out[at + 1] == 5)) at += 2;
    ASSERT_LT(at + 2 * kFrames, out.size()) << "the tone is not in the output";
    int wrong = 0;
    for (int i = 0; i < kFrames; ++i)
        wrong += out[at + 2 * i] != t[i] || out[at + 2 * i + 1] != t[i];
    EXPECT_EQ(wrong, 0);
}

TEST_F(SoftMixSdl, MultimediaRingReachesTheDiskOutputUnchanged) { PlayToneThroughDisk("SoftMix Multimedia"); }

TEST_F(SoftMixSdl, StreamingBufferReachesTheDiskOutputUnchanged) { PlayToneThroughDisk("SoftMix DirectSound"); }

}  // namespace
}  // namespace kestrel

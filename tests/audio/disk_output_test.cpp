// The whole path through SDL audio: SDL's disk driver writes what the
// audio callback mixes to a raw file (signed 16-bit stereo).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <fstream>
#include <thread>
#include <vector>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/direct_sound_driver.h"
#include "toolkit/audio/sdl/direct_sound_module.h"

using namespace kestrel;

namespace {

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + std::to_string(::getpid()) + ".raw";
}

std::vector<std::int16_t> ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> values(bytes.size() / 2);
    std::memcpy(values.data(), bytes.data(), values.size() * 2);
    return values;
}

}  // namespace

TEST(DiskOutput, PlaySoundReachesTheOutputStream) {
    const std::string path = TempPath("kestrel_disk_audio_");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    InitAudioCore();
    sdl::InitDirectSoundAudio();
    ASSERT_EQ(SetAudioDriver("DirectSound"), 1) << "SDL's disk audio driver did not open";

    // A 441 Hz tone, 100 periods, mono 16-bit at the output rate: it must
    // come out unchanged on both sides.
    constexpr int kFrames = 10000;
    auto tone = CreateAudioSample(kFrames, 44100, SF_MONO16LE);
    auto* t = reinterpret_cast<std::int16_t*>(tone->samples);
    for (int i = 0; i < kFrames; ++i)
        t[i] = std::int16_t(std::lround(12000 * std::sin(2 * 3.14159265358979 * i / 100.0)));
    t[0] = 5;  // the first frame is not silent, so the start can be found

    TSoundPtr sound = LoadSound(tone);
    TChannelPtr ch = PlaySound(sound);
    const auto start = std::chrono::steady_clock::now();
    while (ChannelPlaying(ch) && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(ChannelPlaying(ch), 0);
    SetAudioDriver("Null");  // closes the device and the file

    auto out = ReadRaw(path);
    std::remove(path.c_str());
    std::size_t first = 0;
    while (first + 1 < out.size() && out[first] == 0 && out[first + 1] == 0) first += 2;
    ASSERT_LT(first + 2 * kFrames, out.size() + 1) << "tone not found in " << out.size() << " values";
    int mismatches = 0;
    for (int i = 0; i < kFrames; ++i) {
        mismatches += out[first + 2 * i] != t[i];
        mismatches += out[first + 2 * i + 1] != t[i];
    }
    EXPECT_EQ(mismatches, 0);
    // Nothing but silence after it.
    for (std::size_t i = first + 2 * kFrames; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
}

TEST(DiskOutput, NoDeviceFallsBackToNull) {
    setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    InitAudioCore();
    sdl::InitDirectSoundAudio();
    ShutdownAudioDriver();
    EXPECT_EQ(AudioDriver()->Name(), "Null");
    TChannelPtr ch = PlaySound(LoadSound(CreateAudioSample(100, 44100, SF_MONO16LE)));
    EXPECT_EQ(ChannelPlaying(ch), 0);
}

// Opening the playback device: the order the drivers are tried in, and a
// machine with no device at all, which must cost one line on standard error
// (not libasound's probing noise) and leave the "Null" driver playing.
#include "toolkit/audio/sdl/playback_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/direct_sound_driver.h"
#include "toolkit/audio/sdl/sdl_sound_buffer_device.h"

namespace kestrel::sdl {
namespace {

using Names = std::vector<std::string>;

TEST(PlaybackDevice, SoundServersComeFirstAndTheUsersChoiceIsLeftToSdl) {
    const Names sdlOrder = {"pulseaudio", "alsa", "sndio", "pipewire", "dsp",
                            "disk",       "dummy", "jack", "nas"};
    EXPECT_EQ(AudioDriverOrder("", sdlOrder),
              (Names{"pipewire", "pulseaudio", "alsa", "sndio", "dsp", "nas"}));
    // Without the servers: ALSA first, nothing that only pretends to play.
    EXPECT_EQ(AudioDriverOrder("", {"alsa", "disk", "dummy"}), Names{"alsa"});
    EXPECT_EQ(AudioDriverOrder("", {"disk", "dummy", "jack"}), Names{});
    // A user's SDL_AUDIODRIVER stands: no order of ours.
    EXPECT_EQ(AudioDriverOrder("jack", sdlOrder), Names{});
    EXPECT_EQ(AudioDriverOrder("disk", sdlOrder), Names{});
}

std::string Lines(const std::string& text, const std::string& part) {
    std::istringstream in(text);
    std::string line, found;
    while (std::getline(in, line))
        if (line.find(part) != std::string::npos) found += line + "\n";
    return found;
}

TEST(PlaybackDevice, NoDeviceAnywhereIsOneLineAndTheNullDriverPlays) {
    // No sound server to reach, an ALSA without devices, no choice of the
    // user's: every driver of the order fails.
    const auto dir = std::filesystem::path(::testing::TempDir()) / "no_audio_device";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "asound.conf") << "# no devices\n";
    setenv("ALSA_CONFIG_PATH", (dir / "asound.conf").c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + (dir / "no-pulse").string()).c_str(), 1);
    setenv("PIPEWIRE_REMOTE", (dir / "no-pipewire").c_str(), 1);
    setenv("AUDIODEV", (dir / "no-dsp").c_str(), 1);
    unsetenv("SDL_AUDIODRIVER");

    ::testing::internal::CaptureStderr();
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = [](void*, Uint8* stream, int len) { SDL_memset(stream, 0, size_t(len)); };
    const SDL_AudioDeviceID first = OpenPlaybackDevice(want, nullptr);
    // The game's way in: the "DirectSound" driver fails to start, "Null" plays.
    InstallSdlSoundBufferService();
    InitDirectSoundDriver();
    const int started = SetAudioDriver("DirectSound");
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(first, 0u);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(AudioDriver()->Name(), "Null");
    const std::string said = Lines(err, "no audio device: playing without sound (");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << err;
    EXPECT_NE(said.find("pipewire: "), std::string::npos) << said;
    EXPECT_NE(said.find("pulseaudio: "), std::string::npos) << said;
    EXPECT_NE(said.find("alsa: "), std::string::npos) << said;
    EXPECT_EQ(Lines(err, "ALSA lib"), "") << err;
    EXPECT_EQ(Lines(err, "jack"), "") << err;
    ShutdownAudioDriver();
}

}  // namespace
}  // namespace kestrel::sdl

// The wave device over SDL2 audio: 44100 Hz, signed 16-bit, stereo, with a
// 512-frame callback that plays the ring in a loop. The ring is copied under
// a lock, so the mixer's thread and SDL's audio thread share no unguarded
// memory.
#pragma once

#include <memory>

#include "toolkit/audio/softmix_wave_device.h"

namespace kestrel::sdl {

// A new SDL wave device (not yet open).
std::unique_ptr<softmix::WaveDevice> CreateSdlWaveOutput();

// Makes the SoftMix drivers use SDL wave devices.
void InstallSdlWaveOutput();

// The software-mixer module's start-up (once): SDL wave devices unless a
// wave-device factory is already installed, then the SoftMix drivers.
void InitSoftMixAudio();

}  // namespace kestrel::sdl

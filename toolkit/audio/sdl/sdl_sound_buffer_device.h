// The sound-buffer service's device over SDL audio: 44100 Hz, signed 16-bit
// stereo, 512-frame callback, mixing every playing buffer in the callback.
#pragma once

#include <memory>

#include "toolkit/audio/sound_buffer_device.h"

namespace kestrel::sdl {

// Opens the default SDL audio output; null when SDL audio cannot start or
// no device opens (the driver then reports a failed start-up, and the
// "Null" driver takes over).
std::unique_ptr<SoundBufferDevice> OpenSdlSoundBufferDevice();

// Makes OpenSoundBufferDevice() open SDL audio devices.
void InstallSdlSoundBufferService();

}  // namespace kestrel::sdl

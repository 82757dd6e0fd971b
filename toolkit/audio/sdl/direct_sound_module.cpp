#include "toolkit/audio/sdl/direct_sound_module.h"

#include "toolkit/audio/direct_sound_driver.h"
#include "toolkit/audio/sdl/sdl_sound_buffer_device.h"

namespace kestrel::sdl {

void InitDirectSoundAudio() {
    if (!SoundBufferServiceAvailable()) InstallSdlSoundBufferService();
    InitDirectSoundDriver();
}

}  // namespace kestrel::sdl

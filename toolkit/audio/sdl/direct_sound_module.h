// The start-up of the "DirectSound" driver on this platform: its sound
// buffers are served by SDL audio.
#pragma once

namespace kestrel::sdl {

// Installs the SDL sound-buffer service and creates the "DirectSound"
// driver (once).
void InitDirectSoundAudio();

}  // namespace kestrel::sdl

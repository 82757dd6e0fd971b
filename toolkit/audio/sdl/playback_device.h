// Opening SDL's playback device the way a desktop expects. SDL probes its
// audio drivers in an order of its own; we ask for the desktop's sound
// server first ("pipewire", then "pulseaudio"), then raw "alsa" and the
// rarer systems, and never for a driver that only pretends to play (nor
// for JACK, whose library prints when no JACK server runs). A user's
// own SDL_AUDIODRIVER is obeyed as it stands. ALSA's library prints its
// probing errors to standard error; they are silenced, and when no device
// opens at all the program says so in one line and plays without sound.
#pragma once

#include <SDL_audio.h>

#include <string>
#include <vector>

namespace kestrel::sdl {

// The drivers to try, in order, out of those this SDL has: the preferred
// ones first, then any other but "disk", "dummy" and "jack". Empty when the user chose (the
// SDL_AUDIODRIVER hint or variable is set): SDL's own choice is then used.
std::vector<std::string> AudioDriverOrder(const std::string& userChoice,
                                          const std::vector<std::string>& available);

// Starts SDL audio with the first driver of the order whose default device
// opens with this format. 0 when none does; the first time that happens in
// a process, "no audio device: playing without sound (reason)" goes to
// standard error.
SDL_AudioDeviceID OpenPlaybackDevice(const SDL_AudioSpec& want, SDL_AudioSpec* have);

// Closes a device that OpenPlaybackDevice opened and stops SDL audio (the
// driver stays running while another device is open).
void ClosePlaybackDevice(SDL_AudioDeviceID device);

}  // namespace kestrel::sdl

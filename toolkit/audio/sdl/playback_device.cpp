#include "toolkit/audio/sdl/playback_device.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cstdio>

#include "toolkit/core/quiet_stderr.h"

namespace kestrel::sdl {

namespace {

// The desktop's sound servers before raw ALSA, then the other systems that
// reach a real device.
const char* const kPreferred[] = {"pipewire", "pulseaudio", "alsa", "sndio", "dsp"};
// Never tried unasked: "disk" and "dummy" play to nothing, and JACK's
// library prints its own failure to find a server (a JACK user names it in
// SDL_AUDIODRIVER, or reaches it through PipeWire).
const char* const kUnasked[] = {"disk", "dummy", "jack"};

// libasound's error handler type: file, line, function, error, format, ...
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

extern "C" void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Silences libasound's printing for the whole process. SDL loads the same
// library (by the same name) when it probes ALSA, so the handler set here
// is the one it runs with; the library is never unloaded, which would put
// the printing handler back.
void SilenceAlsa() {
    static std::atomic<bool> done{false};
    if (done.exchange(true)) return;
    void* lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return;  // no ALSA here: nothing to silence
    using SetHandler = int (*)(AlsaErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(lib, "snd_lib_error_set_handler")))
        set(&IgnoreAlsaError);
}

std::vector<std::string> CompiledDrivers() {
    std::vector<std::string> names;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        if (const char* n = SDL_GetAudioDriver(i)) names.emplace_back(n);
    return names;
}

void ReportNoDevice(const std::string& reason) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) return;
    std::fprintf(stderr, "no audio device: playing without sound (%s)\n", reason.c_str());
}

// Starts SDL audio (with whatever driver the hint names) and opens the
// default device; on failure SDL audio is stopped again and *why says why.
SDL_AudioDeviceID StartAndOpen(const SDL_AudioSpec& want, SDL_AudioSpec* have, std::string* why) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *why = SDL_GetError();
        return 0;
    }
    SDL_AudioSpec got{};
    // No changes allowed: SDL converts to whatever the device needs.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, have ? have : &got, 0);
    if (device == 0) {
        *why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    return device;
}

}  // namespace

std::vector<std::string> AudioDriverOrder(const std::string& userChoice,
                                          const std::vector<std::string>& available) {
    std::vector<std::string> order;
    if (!userChoice.empty()) return order;
    auto has = [&](const std::string& n) {
        return std::find(available.begin(), available.end(), n) != available.end();
    };
    for (const char* n : kPreferred)
        if (has(n)) order.emplace_back(n);
    for (const std::string& n : available) {
        const bool unasked =
            std::find(std::begin(kUnasked), std::end(kUnasked), n) != std::end(kUnasked);
        if (!unasked && std::find(order.begin(), order.end(), n) == order.end()) order.push_back(n);
    }
    return order;
}

SDL_AudioDeviceID OpenPlaybackDevice(const SDL_AudioSpec& want, SDL_AudioSpec* have) {
    SilenceAlsa();
    std::string why;
    // SDL audio already running (another device of ours is open): its
    // driver is the one chosen before.
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        const SDL_AudioDeviceID device = StartAndOpen(want, have, &why);
        if (device == 0) ReportNoDevice(why);
        return device;
    }
    const char* hint = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    const std::vector<std::string> order = AudioDriverOrder(hint ? hint : "", CompiledDrivers());
    if (order.empty()) {
        const SDL_AudioDeviceID device = StartAndOpen(want, have, &why);
        if (device == 0) ReportNoDevice(why);
        return device;
    }
    std::string reasons;
    for (const std::string& name : order) {
        SDL_SetHint(SDL_HINT_AUDIODRIVER, name.c_str());
        SDL_AudioDeviceID device = 0;
        {
            // A system that is not there has its library print its own
            // failure; the outcome is reported below, in one line.
            QuietStderr quiet;
            device = StartAndOpen(want, have, &why);
        }
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (device != 0) return device;
        if (!reasons.empty()) reasons += "; ";
        reasons += name + ": " + why;
    }
    ReportNoDevice(reasons);
    return 0;
}

void ClosePlaybackDevice(SDL_AudioDeviceID device) {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);  // waits for a running callback
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace kestrel::sdl

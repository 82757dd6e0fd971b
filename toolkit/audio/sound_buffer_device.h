// An open output for the sound-buffer service, and how the "DirectSound"
// driver gets one. A platform installs a factory (the SDL audio device in
// kestrel_audio_sdl); tests install an offline one and mix by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "toolkit/audio/sound_buffer_mixer.h"

namespace kestrel {

class SoundBufferDevice {
public:
    virtual ~SoundBufferDevice() = default;
    // The mixer whose buffers this device plays.
    virtual const std::shared_ptr<SoundBufferMixer>& Mixer() const = 0;
};

using SoundBufferDeviceFactory = std::function<std::unique_ptr<SoundBufferDevice>()>;

// Installs (or, with an empty function, removes) the way devices are opened.
void SetSoundBufferDeviceFactory(SoundBufferDeviceFactory factory);
// True when a factory is installed: the service can exist on this system.
bool SoundBufferServiceAvailable();
// A newly opened device, or null when there is no factory or no device
// could be opened.
std::unique_ptr<SoundBufferDevice> OpenSoundBufferDevice();

// A device with no output: whoever holds it mixes frames into memory. Safe
// to mix from another thread (the lock it gives the mixer is a mutex).
class OfflineSoundBufferDevice : public SoundBufferDevice {
public:
    OfflineSoundBufferDevice();
    ~OfflineSoundBufferDevice() override;
    const std::shared_ptr<SoundBufferMixer>& Mixer() const override { return mixer_; }
    // Mixes `frames` stereo frames into out, under the device's lock.
    void MixFrames(std::int16_t* out, int frames);

private:
    class MutexLock : public MixLock {
    public:
        void Lock() override { m.lock(); }
        void Unlock() override { m.unlock(); }
        std::mutex m;
    };
    std::shared_ptr<SoundBufferMixer> mixer_;
    MutexLock lock_;
};

}  // namespace kestrel

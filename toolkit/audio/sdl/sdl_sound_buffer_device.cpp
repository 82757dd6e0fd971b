#include "toolkit/audio/sdl/sdl_sound_buffer_device.h"

#include <SDL.h>

#include "toolkit/audio/sdl/playback_device.h"

namespace kestrel::sdl {

namespace {

constexpr int kCallbackFrames = 512;

class SdlSoundBufferDevice : public SoundBufferDevice, public MixLock {
public:
    SdlSoundBufferDevice() : mixer_(SoundBufferMixer::Create(SoundBufferMixer::kOutputHertz)) {}

    ~SdlSoundBufferDevice() override {
        if (device_) {
            ClosePlaybackDevice(device_);  // waits for a running callback
            mixer_->SetLock(nullptr);
        }
    }

    bool Open() {
        SDL_AudioSpec want{};
        want.freq = SoundBufferMixer::kOutputHertz;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kCallbackFrames;
        want.callback = &SdlSoundBufferDevice::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = OpenPlaybackDevice(want, &have);
        if (!device_) return false;
        mixer_->SetLock(this);
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    const std::shared_ptr<SoundBufferMixer>& Mixer() const override { return mixer_; }

    void Lock() override { SDL_LockAudioDevice(device_); }
    void Unlock() override { SDL_UnlockAudioDevice(device_); }

private:
    // Runs on SDL's audio thread with the device lock held.
    static void Callback(void* userdata, Uint8* stream, int len) {
        auto* self = static_cast<SdlSoundBufferDevice*>(userdata);
        self->mixer_->Mix(reinterpret_cast<std::int16_t*>(stream), len / 4);
    }

    std::shared_ptr<SoundBufferMixer> mixer_;
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace

std::unique_ptr<SoundBufferDevice> OpenSdlSoundBufferDevice() {
    auto d = std::make_unique<SdlSoundBufferDevice>();
    if (!d->Open()) return nullptr;
    return d;
}

void InstallSdlSoundBufferService() { SetSoundBufferDeviceFactory(&OpenSdlSoundBufferDevice); }

}  // namespace kestrel::sdl

#include "toolkit/audio/sound_buffer_device.h"

namespace kestrel {

namespace {
SoundBufferDeviceFactory& Factory() {
    static SoundBufferDeviceFactory factory;
    return factory;
}
}  // namespace

void SetSoundBufferDeviceFactory(SoundBufferDeviceFactory factory) {
    Factory() = std::move(factory);
}

bool SoundBufferServiceAvailable() { return bool(Factory()); }

std::unique_ptr<SoundBufferDevice> OpenSoundBufferDevice() {
    if (!Factory()) return nullptr;
    return Factory()();
}

OfflineSoundBufferDevice::OfflineSoundBufferDevice() : mixer_(SoundBufferMixer::Create()) {
    mixer_->SetLock(&lock_);
}

OfflineSoundBufferDevice::~OfflineSoundBufferDevice() { mixer_->SetLock(nullptr); }

void OfflineSoundBufferDevice::MixFrames(std::int16_t* out, int frames) {
    std::lock_guard<std::mutex> hold(lock_.m);
    mixer_->Mix(out, frames);
}

}  // namespace kestrel

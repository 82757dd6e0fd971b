#include "toolkit/audio/sound_buffer.h"

#include <cmath>
#include <cstring>

#include "toolkit/audio/sound_buffer_mixer.h"
#include "toolkit/audio/sound_buffer_voice.h"

namespace kestrel {

namespace {

// Amplitude of a level in hundredths of a decibel; the lowest level is
// silence.
float Amplitude(int centibels) {
    if (centibels <= SB_VOLUME_MIN) return 0.0f;
    return float(std::pow(10.0, double(centibels) / 2000.0));
}

// Left and right gains: the volume on both sides, and the pan attenuating
// the side opposite to it.
void ApplyGains(SoundVoice& v, float* left, float* right) {
    const float a = Amplitude(v.volume);
    *left = a;
    *right = a;
    if (v.pan > 0) *left = a * Amplitude(-v.pan);
    if (v.pan < 0) *right = a * Amplitude(v.pan);
}

}  // namespace

SoundBuffer::SoundBuffer(std::shared_ptr<SoundBufferMixer> mixer, SoundVoice* voice)
    : mixer_(std::move(mixer)), voice_(voice) {}

SoundBuffer::~SoundBuffer() {
    if (lockedDirect_) --voice_->block->directLocks;
    mixer_->Release(voice_);
}

int SoundBuffer::GetStatus(int* status) {
    if (!status) return SB_ERR_INVALIDPARAM;
    SoundBufferMixer::Guard g(*mixer_);
    *status = voice_->playing ? SB_STATUS_PLAYING | (voice_->looping ? SB_STATUS_LOOPING : 0) : 0;
    return SB_OK;
}

int SoundBuffer::Lock(int offset, int bytes, void** p1, int* n1, void** p2, int* n2, int flags) {
    if (!p1 || !n1) return SB_ERR_INVALIDPARAM;
    if (lockedDirect_ || !staging_.empty()) return SB_ERR_INVALIDCALL;  // one lock at a time
    PcmBlock& block = *voice_->block;
    const int size = block.size;
    if (flags & SB_LOCK_ENTIREBUFFER) {
        offset = 0;
        bytes = size;
    }
    if (offset < 0 || bytes < 0 || (size && offset >= size) || bytes > size)
        return SB_ERR_INVALIDPARAM;
    const int first = size ? std::min(bytes, size - offset) : 0;
    const int second = bytes - first;
    if (second && (!p2 || !n2)) return SB_ERR_INVALIDPARAM;

    std::uint8_t* base;
    if (!block.published) {
        // Nothing has played this data yet, so the mixer cannot be reading
        // it: write in place.
        base = block.bytes.get();
        lockedDirect_ = true;
        ++block.directLocks;
    } else {
        // The mixer may be reading it: write aside, copy in on Unlock.
        staging_.assign(block.bytes.get(), block.bytes.get() + size + 1);
        base = staging_.data();
    }
    stagingOffset_ = offset;
    *p1 = base + offset;
    *n1 = first;
    if (p2) *p2 = second ? base : nullptr;
    if (n2) *n2 = second;
    return SB_OK;
}

int SoundBuffer::Unlock(void* p1, int, void*, int) {
    PcmBlock& block = *voice_->block;
    if (lockedDirect_) {
        if (p1 != block.bytes.get() + stagingOffset_) return SB_ERR_INVALIDPARAM;
        lockedDirect_ = false;
        --block.directLocks;
        return SB_OK;
    }
    if (staging_.empty() || p1 != staging_.data() + stagingOffset_) return SB_ERR_INVALIDCALL;
    {
        SoundBufferMixer::Guard g(*mixer_);
        std::memcpy(block.bytes.get(), staging_.data(), std::size_t(block.size));
    }
    std::vector<std::uint8_t>().swap(staging_);
    return SB_OK;
}

int SoundBuffer::Play(int flags) {
    SoundVoice& v = *voice_;
    if (v.block->directLocks) return SB_ERR_INVALIDCALL;  // its data is being written
    v.block->published = true;
    SoundBufferMixer::Guard g(*mixer_);
    v.looping = (flags & SB_PLAY_LOOPING) != 0;
    if (v.frames == 0) return SB_OK;  // an empty buffer ends at once
    v.playing = true;
    mixer_->Activate(&v);
    return SB_OK;
}

int SoundBuffer::Stop() {
    SoundBufferMixer::Guard g(*mixer_);
    voice_->playing = false;
    mixer_->Deactivate(voice_);
    return SB_OK;
}

int SoundBuffer::SetCurrentPosition(int bytes) {
    SoundVoice& v = *voice_;
    if (bytes < 0 || (bytes >= v.block->size && bytes != 0)) return SB_ERR_INVALIDPARAM;
    SoundBufferMixer::Guard g(*mixer_);
    v.position = std::uint64_t(bytes / v.bytesPerFrame) << 32;
    v.resamplerReset = true;
    return SB_OK;
}

int SoundBuffer::GetCurrentPosition(int* bytes) {
    if (!bytes) return SB_ERR_INVALIDPARAM;
    SoundBufferMixer::Guard g(*mixer_);
    *bytes = int(voice_->position >> 32) * voice_->bytesPerFrame;
    return SB_OK;
}

void SoundBuffer::StoreGains() {
    float l, r;
    ApplyGains(*voice_, &l, &r);
    SoundBufferMixer::Guard g(*mixer_);
    voice_->gainLeft = l;
    voice_->gainRight = r;
}

int SoundBuffer::SetVolume(int centibels) {
    if (centibels < SB_VOLUME_MIN || centibels > SB_VOLUME_MAX) return SB_ERR_INVALIDPARAM;
    voice_->volume = centibels;
    StoreGains();
    return SB_OK;
}

int SoundBuffer::GetVolume(int* centibels) {
    if (!centibels) return SB_ERR_INVALIDPARAM;
    *centibels = voice_->volume;
    return SB_OK;
}

int SoundBuffer::SetPan(int centibels) {
    if (centibels < SB_PAN_LEFT || centibels > SB_PAN_RIGHT) return SB_ERR_INVALIDPARAM;
    voice_->pan = centibels;
    StoreGains();
    return SB_OK;
}

int SoundBuffer::GetPan(int* centibels) {
    if (!centibels) return SB_ERR_INVALIDPARAM;
    *centibels = voice_->pan;
    return SB_OK;
}

int SoundBuffer::SetFrequency(int hertz) {
    if (hertz == 0) hertz = voice_->originalHertz;
    if (hertz < SB_FREQUENCY_MIN || hertz > SB_FREQUENCY_MAX) return SB_ERR_INVALIDPARAM;
    voice_->frequency = hertz;
    mixer_->NeedsResampler(*voice_, hertz);
    const std::uint64_t step = mixer_->StepFor(hertz);
    SoundBufferMixer::Guard g(*mixer_);
    voice_->step = step;
    return SB_OK;
}

int SoundBuffer::GetFrequency(int* hertz) {
    if (!hertz) return SB_ERR_INVALIDPARAM;
    *hertz = voice_->frequency;
    return SB_OK;
}

}  // namespace kestrel

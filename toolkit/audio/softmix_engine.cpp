#include "toolkit/audio/softmix_engine.h"

#include <cmath>
#include <limits>

#include "toolkit/system/millisecs.h"

namespace kestrel::softmix {

namespace {

template <class Int>
Int Saturate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (v <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(v);  // truncates toward zero
}

}  // namespace

std::int16_t ToGain(float x) { return Saturate<std::int16_t>(static_cast<double>(x) * 4096.0); }
std::int32_t ToRate(float x) { return Saturate<std::int32_t>(static_cast<double>(x) * 65536.0); }

Engine::Engine(MilliClock clock) : clock_(clock ? clock : &MilliSecs) {}

Engine::~Engine() { Close(); }

int Engine::Start(std::unique_ptr<Output> output) {
    if (Started()) Close();
    if (!output) return -1;
    handles_ = std::make_unique<HandleTable>();
    mixer_ = std::make_unique<Mixer>(output->BlockValues(), clock_);
    voices_.reserve(kMaxVoices);
    if (!output->Start(*mixer_)) {
        mixer_.reset();
        handles_.reset();
        return -1;
    }
    output_ = std::move(output);
    return 0;
}

void Engine::Close() {
    if (!output_) return;
    output_->Close();  // no mixing happens after this
    output_.reset();
    for (auto& v : voices_) ReleaseSample(v->sample);
    voices_.clear();
    mixer_.reset();
    handles_.reset();
}

Sample* Engine::CreateSound(int frames, int bits, int channels, int hertz, const void* data, bool loop) {
    return CreateSample(frames, bits, channels, hertz, data, loop);
}

void Engine::FreeSound(Sample* sample) { ReleaseSample(sample); }

std::uint32_t Engine::AllocChannel() { return Started() ? handles_->Alloc() : 0; }

Voice* Engine::VoiceFor(std::uint32_t handle) {
    if (!Started() || !handles_->Valid(handle)) return nullptr;
    return handles_->VoiceOf(handle);
}

void Engine::Recycle(Voice* v) {
    // The voice may still be attached to the slot it played on.
    if (handles_->Valid(v->handle) && handles_->VoiceOf(v->handle) == v) handles_->VoiceOf(v->handle) = nullptr;
    ReleaseSample(v->sample);
    v->sample = nullptr;
}

Voice* Engine::TakeVoice() {
    if (Voice* v = mixer_->TakeFinished()) {
        Recycle(v);
        return v;
    }
    if (voices_.size() >= kMaxVoices) return nullptr;
    voices_.push_back(std::make_unique<Voice>());
    return voices_.back().get();
}

std::uint32_t Engine::Play(Sample* sample, bool paused, std::uint32_t handle) {
    if (!Started() || !sample) return 0;
    const bool fresh = handle == 0;
    if (fresh) handle = handles_->Alloc();
    if (!handles_->Valid(handle)) return 0;
    Voice* v = TakeVoice();
    if (!v) {
        if (fresh) handles_->Free(handle);
        return 0;
    }
    // A channel plays one voice: whatever it played before stops.
    if (Voice* old = handles_->VoiceOf(handle)) {
        old->stopRequest.store(true, std::memory_order_release);
        old->status.store(kStatusFinished, std::memory_order_release);
    }
    RetainSample(sample);
    v->sample = sample;
    v->handle = handle;
    v->queuedAt = clock_();
    v->stopRequest.store(false, std::memory_order_relaxed);
    v->position.store(0, std::memory_order_relaxed);
    v->rateTarget.store(kRateOne, std::memory_order_relaxed);
    v->volumeTarget.store(kGainOne, std::memory_order_relaxed);
    v->panTarget.store(0, std::memory_order_relaxed);
    v->depthTarget.store(0, std::memory_order_relaxed);
    v->pos = 0;
    v->delayFrames = 0;
    v->rate = kRateOne;
    v->volume = kGainOne;
    v->pan = 0;
    v->depth = 0;
    v->sounded = false;
    v->status.store((sample->loop ? kStatusPlayingLooped : kStatusPlayingOnce) | (paused ? kStatusPaused : 0),
                    std::memory_order_relaxed);
    handles_->VoiceOf(handle) = v;
    mixer_->Queue(v);  // cannot be full: it holds at most every voice there is
    return handle;
}

void Engine::FreeChannel(std::uint32_t handle) {
    if (Started()) handles_->Free(handle);  // the voice plays on, detached
}

int Engine::ChannelStatus(std::uint32_t handle) {
    Voice* v = VoiceFor(handle);
    return v ? v->status.load(std::memory_order_acquire) : 0;
}

int Engine::ChannelPosition(std::uint32_t handle) {
    Voice* v = VoiceFor(handle);
    return v ? static_cast<int>(v->position.load(std::memory_order_relaxed) >> 32) : 0;
}

void Engine::StopChannel(std::uint32_t handle) {
    if (!Started() || !handles_->Valid(handle)) return;
    if (Voice* v = handles_->VoiceOf(handle)) {
        v->stopRequest.store(true, std::memory_order_release);
        v->status.store(kStatusFinished, std::memory_order_release);
    }
    handles_->Free(handle);
}

void Engine::SetPaused(std::uint32_t handle, bool paused) {
    Voice* v = VoiceFor(handle);
    if (!v) return;
    if (paused) v->status.fetch_or(kStatusPaused, std::memory_order_acq_rel);
    else v->status.fetch_and(~kStatusPaused, std::memory_order_acq_rel);
}

void Engine::SetVolume(std::uint32_t handle, float x) {
    if (Voice* v = VoiceFor(handle)) v->volumeTarget.store(ToGain(x), std::memory_order_relaxed);
}

void Engine::SetPan(std::uint32_t handle, float x) {
    if (Voice* v = VoiceFor(handle)) v->panTarget.store(ToGain(x), std::memory_order_relaxed);
}

void Engine::SetDepth(std::uint32_t handle, float x) {
    if (Voice* v = VoiceFor(handle)) v->depthTarget.store(ToGain(x), std::memory_order_relaxed);
}

void Engine::SetRate(std::uint32_t handle, float x) {
    if (Voice* v = VoiceFor(handle)) v->rateTarget.store(ToRate(x), std::memory_order_relaxed);
}

}  // namespace kestrel::softmix

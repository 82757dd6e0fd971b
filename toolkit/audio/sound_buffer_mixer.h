// The device-free core of the sound-buffer service: owns the buffers' voice
// records and mixes every playing buffer into signed 16-bit stereo at the
// output rate. An audio device calls Mix from its callback with its lock
// held; without a device, tests and benchmarks call Mix directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/audio/mix_limiter.h"
#include "toolkit/audio/sound_buffer.h"

namespace kestrel {

// The lock that keeps the main thread's commands apart from the mixing
// (the audio device's own lock).
class MixLock {
public:
    virtual ~MixLock() = default;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

class SoundBufferMixer : public std::enable_shared_from_this<SoundBufferMixer> {
public:
    static constexpr int kOutputHertz = 44100;
    // Frames mixed per pass; larger requests are mixed in passes.
    static constexpr int kBlockFrames = 1024;

    explicit SoundBufferMixer(int outputHertz = kOutputHertz);
    SoundBufferMixer(const SoundBufferMixer&) = delete;
    SoundBufferMixer& operator=(const SoundBufferMixer&) = delete;
    ~SoundBufferMixer();

    static std::shared_ptr<SoundBufferMixer> Create(int outputHertz = kOutputHertz);

    int CreateBuffer(const SoundBufferDesc& desc, SoundBufferPtr* out);
    // A new buffer over the same data, stopped at position 0, with the
    // source's frequency, volume and pan.
    int DuplicateBuffer(const SoundBufferPtr& source, SoundBufferPtr* out);

    // Mixes `frames` stereo frames into `out` (interleaved left, right).
    // Called with the lock held (or with no device attached). Allocates
    // nothing and takes no lock itself.
    void Mix(std::int16_t* out, int frames);

    // Set by a device while it runs; null when nothing mixes concurrently.
    // Main thread only.
    void SetLock(MixLock* lock) { lock_ = lock; }
    MixLock* Lock() const { return lock_; }

    int OutputHertz() const { return outputHertz_; }
    // Buffers alive / playing (main thread; PlayingCount takes the lock).
    int BufferCount() const { return voiceCount_; }
    int PlayingCount();
    // Output frames mixed so far, and how many of them were not silent.
    std::uint64_t FramesMixed() const { return framesMixed_.load(std::memory_order_acquire); }
    std::uint64_t AudibleFrames() const { return audibleFrames_.load(std::memory_order_acquire); }

private:
    friend class SoundBuffer;
    class Guard {
    public:
        explicit Guard(SoundBufferMixer& m) : lock_(m.lock_) {
            if (lock_) lock_->Lock();
        }
        ~Guard() {
            if (lock_) lock_->Unlock();
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        MixLock* lock_;
    };

    SoundBufferPtr NewBuffer(std::unique_ptr<SoundVoice> voice);
    void ReserveActive();
    // Under the lock.
    void Activate(SoundVoice* v);
    void Deactivate(SoundVoice* v);
    void Release(SoundVoice* v);
    std::uint64_t StepFor(int hertz) const;
    // Gives a voice a converter if its rate differs from the output's
    // (main thread, outside the lock; the mixer sees it once under it).
    void NeedsResampler(SoundVoice& v, int hertz);

    int outputHertz_;
    MixLock* lock_ = nullptr;
    int voiceCount_ = 0;
    std::vector<SoundVoice*> active_;  // capacity kept >= voiceCount_
    std::vector<float> accumulator_;   // kBlockFrames * 2
    std::vector<float> converted_;     // kBlockFrames * 2: one voice's converted frames
    MixLimiter limiter_;
    std::atomic<std::uint64_t> framesMixed_{0};
    std::atomic<std::uint64_t> audibleFrames_{0};
};

}  // namespace kestrel

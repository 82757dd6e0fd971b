// The "DirectSound" output: one looping streaming buffer of 32768 bytes in
// four 8192-byte segments, with a notification at each segment boundary. A
// thread of its own wakes on each notification and mixes at most two
// segments, so the written data stays about two segments (16384 bytes, about
// 93 ms) ahead of playback. When no notification arrives within a second the
// thread stops the buffer and output ends for good.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "toolkit/audio/softmix_output.h"
#include "toolkit/audio/softmix_wave_device.h"

namespace kestrel::softmix {

class StreamOutput : public Output {
public:
    static constexpr int kBufferBytes = 32768;
    static constexpr int kSegmentBytes = 8192;
    static constexpr int kBlockValues = 12288;
    static constexpr std::chrono::milliseconds kNotifyTimeout{1000};

    // With runThread false nothing runs by itself: the owner calls Step().
    explicit StreamOutput(std::unique_ptr<WaveDevice> device, bool runThread = true);
    ~StreamOutput() override;

    int BlockValues() const override { return kBlockValues; }
    bool Start(Mixer& mixer) override;
    void Close() override;

    // One pass of the thread's loop before its wait: reads the play cursor
    // and mixes up to two segments.
    void Step();

    // Observations (any thread).
    std::int64_t Written() const { return written_.load(std::memory_order_relaxed); }
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    WaveDevice& Device() { return *device_; }

private:
    static void Notified(void* self);
    void ThreadLoop();
    // Waits for a notification; false when none arrived in time.
    bool WaitNotification();
    void MixPart(std::size_t offset, std::size_t bytes);

    std::unique_ptr<WaveDevice> device_;
    const bool runThread_;
    Mixer* mixer_ = nullptr;
    bool open_ = false;
    std::vector<std::int16_t> block_;
    std::uint64_t lastCursor_ = 0;
    std::int64_t wraps_ = 0;
    std::atomic<std::int64_t> written_{0};
    std::atomic<bool> finished_{false};

    std::thread thread_;
    std::mutex eventMutex_;
    std::condition_variable eventWake_;
    bool signalled_ = false;  // the auto-reset notification event
    bool closing_ = false;
};

}  // namespace kestrel::softmix

// The "Multimedia" output: one ring of 32 blocks of 1024 values (512
// frames, about 11.6 ms each) that the wave device plays continuously, kept
// filled by a routine that runs every 5 ms. The write position stays
// `latency` blocks ahead of the play position; when playback catches up to
// within 2 blocks (an underrun) the ring is cleared, the latency raised by 2
// blocks (at most 11) and output resumes after 250 runs.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "toolkit/audio/softmix_output.h"
#include "toolkit/audio/softmix_wave_device.h"

namespace kestrel::softmix {

class MultimediaOutput : public Output {
public:
    static constexpr int kBlockValues = 1024;
    static constexpr int kRingBlocks = 32;
    static constexpr int kInitialLatency = 6;
    static constexpr int kResumeRuns = 250;
    static constexpr int kPeriodMs = 5;
    static constexpr std::int64_t kMaxPosition = 0x10000000;  // in values

    // With runTimer false nothing runs by itself: the owner calls Run().
    explicit MultimediaOutput(std::unique_ptr<WaveDevice> device, bool runTimer = true);
    ~MultimediaOutput() override;

    int BlockValues() const override { return kBlockValues; }
    bool Start(Mixer& mixer) override;
    void Close() override;

    // One run of the periodic routine.
    void Run();

    // Observations (any thread).
    int Latency() const { return latency_.load(std::memory_order_relaxed); }
    std::int64_t WritePosition() const { return write_.load(std::memory_order_relaxed); }
    int ResumeIn() const { return resumeIn_.load(std::memory_order_relaxed); }
    WaveDevice& Device() { return *device_; }

private:
    void FillTo(std::int64_t play);
    void Restart();
    bool Submit();
    void TimerLoop();

    std::unique_ptr<WaveDevice> device_;
    const bool runTimer_;
    Mixer* mixer_ = nullptr;
    bool open_ = false;
    std::vector<std::int16_t> block_;
    // Written by the routine only; atomics so that others may look.
    std::atomic<std::int64_t> write_{0};
    std::atomic<int> latency_{kInitialLatency};
    std::atomic<int> resumeIn_{0};

    std::thread timer_;
    std::mutex timerMutex_;
    std::condition_variable timerWake_;
    bool stopTimer_ = false;
};

}  // namespace kestrel::softmix

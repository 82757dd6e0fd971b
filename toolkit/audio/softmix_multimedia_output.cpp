#include "toolkit/audio/softmix_multimedia_output.h"

#include <chrono>
#include <cstdio>

#include "toolkit/audio/softmix_mixer.h"

namespace kestrel::softmix {

MultimediaOutput::MultimediaOutput(std::unique_ptr<WaveDevice> device, bool runTimer)
    : device_(std::move(device)), runTimer_(runTimer) {}

MultimediaOutput::~MultimediaOutput() { Close(); }

bool MultimediaOutput::Start(Mixer& mixer) {
    if (!device_ || open_) return false;
    if (!device_->Open(static_cast<std::size_t>(kRingBlocks) * kBlockValues * 2)) return false;
    mixer_ = &mixer;
    block_.assign(kBlockValues, 0);
    latency_.store(kInitialLatency, std::memory_order_relaxed);
    resumeIn_.store(0, std::memory_order_relaxed);
    // The ring is filled `latency` blocks ahead before it first plays, so the
    // first run does not find the write position level with playback.
    write_.store(0, std::memory_order_relaxed);
    FillTo(0);
    if (!Submit()) {
        device_->Close();
        return false;
    }
    open_ = true;
    if (runTimer_) {
        stopTimer_ = false;
        timer_ = std::thread([this] { TimerLoop(); });
    }
    return true;
}

void MultimediaOutput::Close() {
    if (!open_) return;
    if (timer_.joinable()) {
        {
            std::lock_guard lock(timerMutex_);
            stopTimer_ = true;
        }
        timerWake_.notify_all();
        timer_.join();
    }
    device_->Reset();
    device_->Close();
    open_ = false;
    mixer_ = nullptr;
}

void MultimediaOutput::TimerLoop() {
    std::unique_lock lock(timerMutex_);
    for (;;) {
        // A one-shot 5 ms timer re-armed at the end of every run.
        if (timerWake_.wait_for(lock, std::chrono::milliseconds(kPeriodMs), [this] { return stopTimer_; })) return;
        lock.unlock();
        Run();
        lock.lock();
    }
}

bool MultimediaOutput::Submit() {
    if (device_->Play()) return true;
    std::fputs("waveOutWrite error\n", stdout);
    std::fflush(stdout);
    return false;
}

void MultimediaOutput::FillTo(std::int64_t play) {
    std::int64_t write = write_.load(std::memory_order_relaxed);
    const std::int64_t ahead = static_cast<std::int64_t>(latency_.load(std::memory_order_relaxed)) * kBlockValues;
    while (write - play < ahead) {
        mixer_->Mix(block_.data(), kBlockValues);
        const std::int64_t index = (write / kBlockValues) % kRingBlocks;
        device_->Write(static_cast<std::size_t>(index) * kBlockValues * 2, block_.data(), kBlockValues);
        write += kBlockValues;
    }
    write_.store(write, std::memory_order_relaxed);
}

void MultimediaOutput::Restart() {
    device_->Reset();
    write_.store(0, std::memory_order_relaxed);
    FillTo(0);
    Submit();
}

void MultimediaOutput::Run() {
    if (!mixer_) return;
    if (const int wait = resumeIn_.load(std::memory_order_relaxed); wait > 0) {
        resumeIn_.store(wait - 1, std::memory_order_relaxed);
        if (wait == 1) Submit();
        return;
    }

    std::uint64_t bytes = 0;
    if (!device_->Position(bytes) || static_cast<std::int64_t>(bytes / 2) > kMaxPosition) {
        // Position unknown or too large: start the ring over, refilled at
        // once so that the next run does not take it for an underrun.
        Restart();
        return;
    }
    const auto play = static_cast<std::int64_t>(bytes / 2);

    if (write_.load(std::memory_order_relaxed) - play < 2 * kBlockValues) {
        // Underrun: playback caught up with the mixed data.
        device_->Reset();
        int latency = latency_.load(std::memory_order_relaxed);
        if (latency <= 9) latency += 2;
        latency_.store(latency, std::memory_order_relaxed);
        write_.store(static_cast<std::int64_t>(latency) * kBlockValues * 2, std::memory_order_relaxed);
        resumeIn_.store(kResumeRuns, std::memory_order_relaxed);
        return;
    }
    FillTo(play);
}

}  // namespace kestrel::softmix

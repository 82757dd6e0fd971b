#include "toolkit/audio/softmix_stream_output.h"

#include <algorithm>

#include "toolkit/audio/softmix_mixer.h"

namespace kestrel::softmix {

StreamOutput::StreamOutput(std::unique_ptr<WaveDevice> device, bool runThread)
    : device_(std::move(device)), runThread_(runThread) {}

StreamOutput::~StreamOutput() { Close(); }

bool StreamOutput::Start(Mixer& mixer) {
    if (!device_ || open_) return false;
    if (!device_->Open(kBufferBytes)) return false;
    device_->SetNotify(kSegmentBytes, &StreamOutput::Notified, this);
    mixer_ = &mixer;
    block_.assign(kBlockValues, 0);
    lastCursor_ = 0;
    wraps_ = 0;
    written_.store(0, std::memory_order_relaxed);
    finished_.store(false, std::memory_order_relaxed);
    {
        std::lock_guard lock(eventMutex_);
        signalled_ = false;
        closing_ = false;
    }
    // The buffer starts zero-filled and playing in a loop.
    if (!device_->Play()) {
        device_->Close();
        return false;
    }
    open_ = true;
    if (runThread_) thread_ = std::thread([this] { ThreadLoop(); });
    return true;
}

void StreamOutput::Close() {
    if (!open_) return;
    {
        std::lock_guard lock(eventMutex_);
        closing_ = true;
    }
    eventWake_.notify_all();
    if (thread_.joinable()) thread_.join();
    device_->SetNotify(0, nullptr, nullptr);
    device_->Reset();
    device_->Close();
    finished_.store(true, std::memory_order_release);
    open_ = false;
    mixer_ = nullptr;
}

void StreamOutput::Notified(void* self) {
    auto* out = static_cast<StreamOutput*>(self);
    {
        std::lock_guard lock(out->eventMutex_);
        out->signalled_ = true;
    }
    out->eventWake_.notify_one();
}

bool StreamOutput::WaitNotification() {
    std::unique_lock lock(eventMutex_);
    const bool woke = eventWake_.wait_for(lock, kNotifyTimeout, [this] { return signalled_ || closing_; });
    const bool byEvent = woke && signalled_ && !closing_;
    signalled_ = false;  // auto-reset
    return byEvent;
}

void StreamOutput::ThreadLoop() {
    for (;;) {
        Step();
        if (!WaitNotification()) break;
    }
    device_->Reset();  // stops the buffer
    finished_.store(true, std::memory_order_release);
}

void StreamOutput::MixPart(std::size_t offset, std::size_t bytes) {
    const int values = static_cast<int>(bytes / 2);
    mixer_->Mix(block_.data(), values);
    device_->Write(offset, block_.data(), static_cast<std::size_t>(values));
}

void StreamOutput::Step() {
    if (!mixer_) return;
    std::uint64_t position = 0;
    const std::uint64_t cursor = device_->Position(position) ? position % kBufferBytes : lastCursor_;
    if (cursor < lastCursor_) ++wraps_;
    lastCursor_ = cursor;

    const std::int64_t written = written_.load(std::memory_order_relaxed);
    std::int64_t n = (wraps_ * kBufferBytes + static_cast<std::int64_t>(cursor) + 2 * kSegmentBytes - written) /
                     kSegmentBytes;
    if (n <= 0) return;
    n = std::min<std::int64_t>(n, 2);
    const auto bytes = static_cast<std::size_t>(n * kSegmentBytes);
    const auto offset = static_cast<std::size_t>(written % kBufferBytes);
    // The locked region may wrap: it then comes in two parts.
    const std::size_t first = std::min<std::size_t>(bytes, kBufferBytes - offset);
    MixPart(offset, first);
    if (bytes > first) MixPart(0, bytes - first);
    written_.store(written + static_cast<std::int64_t>(bytes), std::memory_order_relaxed);
}

}  // namespace kestrel::softmix

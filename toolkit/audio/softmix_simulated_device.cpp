#include "toolkit/audio/softmix_simulated_device.h"

#include <algorithm>
#include <utility>

namespace kestrel::softmix {

bool SimulatedWaveDevice::Open(std::size_t ringBytes) {
    std::lock_guard lock(mutex_);
    if (failOpen_ || ringBytes < 4) return false;
    ring_.assign(ringBytes / 2, 0);
    open_ = true;
    return true;
}

bool SimulatedWaveDevice::Play() {
    std::lock_guard lock(mutex_);
    if (!open_ || failPlay_) return false;
    position_ = 0;
    playing_ = true;
    ++plays_;
    return true;
}

void SimulatedWaveDevice::Reset() {
    std::lock_guard lock(mutex_);
    std::fill(ring_.begin(), ring_.end(), 0);
    position_ = 0;
    playing_ = false;
    ++resets_;
}

void SimulatedWaveDevice::Write(std::size_t offset, const std::int16_t* values, std::size_t count) {
    std::lock_guard lock(mutex_);
    if (ring_.empty()) return;
    std::size_t at = (offset / 2) % ring_.size();
    for (std::size_t i = 0; i < count; ++i) {
        ring_[at] = values[i];
        if (++at == ring_.size()) at = 0;
    }
}

bool SimulatedWaveDevice::Position(std::uint64_t& bytes) {
    std::lock_guard lock(mutex_);
    if (failPosition_) return false;
    bytes = position_;
    return true;
}

void SimulatedWaveDevice::SetNotify(std::size_t segmentBytes, void (*notify)(void*), void* user) {
    std::lock_guard lock(mutex_);
    segment_ = segmentBytes;
    notify_ = notify;
    user_ = user;
}

void SimulatedWaveDevice::Close() {
    std::lock_guard lock(mutex_);
    playing_ = false;
    open_ = false;
}

void SimulatedWaveDevice::Advance(std::size_t frames) {
    int crossings = 0;
    void (*notify)(void*) = nullptr;
    void* user = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (!playing_ || ring_.empty()) return;
        for (std::size_t f = 0; f < frames; ++f) {
            const std::size_t at = (position_ / 2) % ring_.size();
            recording_.push_back(ring_[at]);
            recording_.push_back(ring_[(at + 1) % ring_.size()]);
            position_ += 4;
            if (segment_ && position_ % segment_ == 0) ++crossings;
        }
        notify = notify_;
        user = user_;
    }
    if (notify)
        for (int i = 0; i < crossings; ++i) notify(user);
}

std::vector<std::int16_t> SimulatedWaveDevice::TakeRecording() {
    std::lock_guard lock(mutex_);
    return std::exchange(recording_, {});
}

void SimulatedWaveDevice::FailPosition(bool fail) {
    std::lock_guard lock(mutex_);
    failPosition_ = fail;
}

void SimulatedWaveDevice::SetPosition(std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    position_ = bytes;
}

bool SimulatedWaveDevice::Playing() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

bool SimulatedWaveDevice::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

int SimulatedWaveDevice::PlayCount() const {
    std::lock_guard lock(mutex_);
    return plays_;
}

int SimulatedWaveDevice::ResetCount() const {
    std::lock_guard lock(mutex_);
    return resets_;
}

std::vector<std::int16_t> SimulatedWaveDevice::Ring() const {
    std::lock_guard lock(mutex_);
    return ring_;
}

void SimulatedWaveDevice::FailOpen(bool fail) {
    std::lock_guard lock(mutex_);
    failOpen_ = fail;
}

void SimulatedWaveDevice::FailPlay(bool fail) {
    std::lock_guard lock(mutex_);
    failPlay_ = fail;
}

}  // namespace kestrel::softmix

// A wave device with no sound card behind it: the ring lives in memory and
// plays only when the owner calls Advance, which also records what was
// played. Lets the outputs run device-free, in tests and benchmarks.
// Thread-safe: an output thread may write while another thread advances.
#pragma once

#include <mutex>
#include <vector>

#include "toolkit/audio/softmix_wave_device.h"

namespace kestrel::softmix {

class SimulatedWaveDevice : public WaveDevice {
public:
    bool Open(std::size_t ringBytes) override;
    bool Play() override;
    void Reset() override;
    void Write(std::size_t offset, const std::int16_t* values, std::size_t count) override;
    bool Position(std::uint64_t& bytes) override;
    void SetNotify(std::size_t segmentBytes, void (*notify)(void*), void* user) override;
    void Close() override;

    // Plays `frames` frames from the ring (nothing while stopped), appending
    // them to the recording, and sends the notifications they cross.
    void Advance(std::size_t frames);
    // The frames played so far as interleaved values; Take also clears it.
    std::vector<std::int16_t> TakeRecording();
    // Test controls: the next position queries fail, or report this position.
    void FailPosition(bool fail);
    void SetPosition(std::uint64_t bytes);
    // Observations.
    bool Playing() const;
    bool IsOpen() const;
    int PlayCount() const;
    int ResetCount() const;
    std::vector<std::int16_t> Ring() const;
    // Make Open or Play fail.
    void FailOpen(bool fail);
    void FailPlay(bool fail);

private:
    mutable std::mutex mutex_;
    std::vector<std::int16_t> ring_;
    std::vector<std::int16_t> recording_;
    std::uint64_t position_ = 0;
    bool open_ = false, playing_ = false, failPosition_ = false, failOpen_ = false, failPlay_ = false;
    int plays_ = 0, resets_ = 0;
    std::size_t segment_ = 0;
    void (*notify_)(void*) = nullptr;
    void* user_ = nullptr;
};

}  // namespace kestrel::softmix

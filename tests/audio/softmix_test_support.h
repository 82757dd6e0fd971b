// Shared helpers of the mixer tests: a controllable millisecond clock, an
// output that lets the test pull blocks by hand, and sample builders.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "toolkit/audio/softmix_engine.h"
#include "toolkit/audio/softmix_mixer.h"
#include "toolkit/audio/softmix_output.h"

namespace kestrel::softmix::test {

inline std::atomic<std::int32_t> g_now{0};
inline std::int32_t FakeClock() { return g_now.load(); }

// The mixer without a device: the test calls Pull to mix a block.
class ManualOutput : public Output {
public:
    explicit ManualOutput(int blockValues = 1024) : block_(blockValues) {}
    int BlockValues() const override { return block_; }
    bool Start(Mixer& mixer) override {
        mixer_ = &mixer;
        return true;
    }
    void Close() override { mixer_ = nullptr; }
    Mixer* mixer_ = nullptr;

private:
    int block_;
};

// An engine on a ManualOutput with the fake clock.
struct ManualEngine {
    ManualEngine() : engine(&FakeClock) {
        auto out = std::make_unique<ManualOutput>();
        output = out.get();
        engine.Start(std::move(out));
    }
    // Mixes `frames` frames (in blocks of at most 512) and returns them interleaved.
    std::vector<std::int16_t> Pull(int frames) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
        for (int at = 0; at < frames; at += 512) {
            const int n = std::min(512, frames - at);
            output->mixer_->Mix(out.data() + 2 * at, 2 * n);
        }
        return out;
    }
    Engine engine;
    ManualOutput* output;
};

inline std::vector<std::uint8_t> Pcm16(const std::vector<std::int16_t>& values) {
    std::vector<std::uint8_t> bytes;
    for (std::int16_t v : values) {
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    return bytes;
}

inline std::int16_t Left(const std::vector<std::int16_t>& out, int frame) { return out[2 * frame]; }
inline std::int16_t Right(const std::vector<std::int16_t>& out, int frame) { return out[2 * frame + 1]; }

}  // namespace kestrel::softmix::test

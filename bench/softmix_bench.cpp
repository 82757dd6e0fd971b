// The software mixer's cost: N looping voices (mono and stereo, 44100 and
// 22050 Hz, volumes and pans set, one in four at a changed rate) mixed in
// the multimedia output's 512-frame blocks. Counters:
//   voice_blocks_per_cpu_ms  512-frame voice blocks mixed per ms of CPU
//   voices_per_core          voices one core could mix in real time
//   core_pct                 share of one core for these N voices
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "toolkit/audio/softmix_engine.h"
#include "toolkit/audio/softmix_mixer.h"
#include "toolkit/audio/softmix_output.h"

using namespace kestrel::softmix;

namespace {

std::int32_t FixedClock() { return 0; }

class BenchOutput : public Output {
public:
    int BlockValues() const override { return 1024; }
    bool Start(Mixer& m) override {
        mixer = &m;
        return true;
    }
    void Close() override {}
    Mixer* mixer = nullptr;
};

void BM_MixVoices(benchmark::State& state) {
    const int voices = static_cast<int>(state.range(0));
    Engine engine(&FixedClock);
    auto out = std::make_unique<BenchOutput>();
    BenchOutput* output = out.get();
    engine.Start(std::move(out));
    std::vector<Sample*> samples;
    for (int i = 0; i < voices; ++i) {
        const int channels = 1 + i % 2, hertz = i % 3 ? 44100 : 22050, frames = 30000 + 977 * i;
        std::vector<std::uint8_t> pcm(static_cast<std::size_t>(frames) * channels * 2);
        for (std::size_t k = 0; k < pcm.size() / 2; ++k) {
            const auto v = static_cast<std::int16_t>(3000 * std::sin(2 * 3.14159265 * (200 + 30 * i) *
                                                                    double(k / channels) / hertz));
            pcm[2 * k] = static_cast<std::uint8_t>(v & 0xFF);
            pcm[2 * k + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
        }
        Sample* s = engine.CreateSound(frames, 16, channels, hertz, pcm.data(), true);
        samples.push_back(s);
        const std::uint32_t h = engine.Play(s, false, 0);
        engine.SetVolume(h, 0.3f + 0.7f * float((i * 113) % 100) / 100.0f);
        engine.SetPan(h, float((i * 631) % 201 - 100) / 100.0f);
        if (i % 4 == 3) engine.SetRate(h, 1.0f + 0.01f * float(i));
    }
    std::vector<std::int16_t> block(1024);
    for (int i = 0; i < 4; ++i) output->mixer->Mix(block.data(), 1024);  // past the start delay
    for (auto _ : state) {
        output->mixer->Mix(block.data(), 1024);
        benchmark::DoNotOptimize(block.data());
    }
    const double blocks = double(state.iterations());
    state.counters["voice_blocks_per_cpu_ms"] = benchmark::Counter(blocks * voices / 1000.0, benchmark::Counter::kIsRate);
    // Audio seconds mixed per CPU second, times the voices.
    state.counters["voices_per_core"] =
        benchmark::Counter(blocks * 512 / 44100.0 * voices, benchmark::Counter::kIsRate);
    state.counters["core_pct"] =
        benchmark::Counter(blocks * 512 / 44100.0 / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    engine.Close();
    for (Sample* s : samples) engine.FreeSound(s);
}
BENCHMARK(BM_MixVoices)->Arg(1)->Arg(32)->Arg(256);

}  // namespace

BENCHMARK_MAIN();

// The sound-buffer service's figures: the share of one core that mixing 32
// looping voices at 44100 Hz stereo takes, and the time from PlaySound to
// the first non-silent sample that the audio callback produces.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/direct_sound_driver.h"
#include "toolkit/audio/sdl/direct_sound_module.h"
#include "toolkit/audio/sound_buffer_mixer.h"

using namespace kestrel;

namespace {

SoundBufferPtr MakeTone(SoundBufferMixer& mixer, int channels, int hertz, int frames, double hz) {
    SoundBufferDesc d;
    d.channels = channels;
    d.hertz = hertz;
    d.bitsPerSample = 16;
    d.bytes = frames * channels * 2;
    SoundBufferPtr b;
    mixer.CreateBuffer(d, &b);
    void* p;
    int n;
    b->Lock(0, 0, &p, &n, nullptr, nullptr, SB_LOCK_ENTIREBUFFER);
    auto* v = static_cast<std::int16_t*>(p);
    for (int i = 0; i < frames * channels; ++i)
        v[i] = std::int16_t(3000 * std::sin(2 * 3.14159265 * hz * (i / channels) / hertz));
    b->Unlock(p, n, nullptr, 0);
    return b;
}

// 32 looping voices: a mix of mono and stereo, at 44100 and 22050 Hz (the
// game's effects), with volumes and pans set, mixed 512 frames at a time as
// the SDL callback asks. core_pct = CPU time / audio time * 100.
void BM_Mix32LoopingVoices(benchmark::State& state) {
    auto mixer = SoundBufferMixer::Create();
    std::vector<SoundBufferPtr> voices;
    for (int i = 0; i < 32; ++i) {
        auto b = MakeTone(*mixer, 1 + i % 2, i % 3 ? 44100 : 22050, 30000 + 977 * i, 200 + 30 * i);
        b->SetVolume(-(i * 113) % 3000);
        b->SetPan((i * 631) % 20001 - 10000);
        b->Play(SB_PLAY_LOOPING);
        voices.push_back(b);
    }
    std::vector<std::int16_t> out(512 * 2);
    for (auto _ : state) {
        mixer->Mix(out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
    const double audioSeconds = double(state.iterations()) * 512 / 44100.0;
    state.counters["core_pct"] =
        benchmark::Counter(audioSeconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Mix32LoopingVoices);

// Through the real path: the "DirectSound" driver on SDL's disk audio
// driver, which calls the audio callback at the real-time pace of a
// 512-frame device. Each iteration times PlaySound until the callback has
// mixed a non-silent sample. A real device then plays that block within one
// more period (512 frames = 11.6 ms).
void BM_PlaySoundToFirstSample(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    unsetenv("SDL_DISKAUDIODELAY");  // paced like a real device
    InitAudioCore();
    sdl::InitDirectSoundAudio();
    if (!SetAudioDriver("DirectSound")) {
        state.SkipWithError("no SDL audio device");
        return;
    }
    SoundBufferMixer& mixer = *CurrentDirectSoundDriver()->Device()->Mixer();
    auto tone = CreateAudioSample(2000, 44100, SF_MONO16LE);
    std::fill_n(reinterpret_cast<std::int16_t*>(tone->samples), 2000, std::int16_t(4000));
    TSoundPtr sound = LoadSound(tone);
    double worst = 0, total = 0;
    for (auto _ : state) {
        // Start from silence at an arbitrary point of the callback period.
        while (mixer.PlayingCount()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::microseconds(3000 + std::rand() % 9000));
        const std::uint64_t before = mixer.AudibleFrames();
        const auto t0 = std::chrono::steady_clock::now();
        TChannelPtr ch = PlaySound(sound);
        while (mixer.AudibleFrames() == before) std::this_thread::yield();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        worst = std::max(worst, s);
        total += s;
    }
    state.counters["mean_ms"] = total / double(state.iterations()) * 1000;
    state.counters["worst_ms"] = worst * 1000;
    SetAudioDriver("Null");
}
BENCHMARK(BM_PlaySoundToFirstSample)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

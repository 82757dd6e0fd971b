// The main-thread / output-thread hand-over under load: the main thread
// plays, steers, stops and frees channels while the output thread mixes and
// a device thread plays the output. Run under ThreadSanitizer. Also checks
// that mixing allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "tests/audio/softmix_test_support.h"
#include "toolkit/audio/softmix_multimedia_output.h"
#include "toolkit/audio/softmix_simulated_device.h"
#include "toolkit/audio/softmix_stream_output.h"

namespace {
std::atomic<long> g_allocations{0};
}

// Counts every allocation of the process; the pair of malloc and free below
// is what the replaced operators stand on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace kestrel::softmix::test {
namespace {

// Plays the device in real time-ish steps on a thread of its own.
class DevicePlayer {
public:
    DevicePlayer(SimulatedWaveDevice* dev, std::size_t frames, int periodUs)
        : thread_([=, this] {
              while (!stop_.load()) {
                  dev->Advance(frames);
                  std::this_thread::sleep_for(std::chrono::microseconds(periodUs));
              }
          }) {}
    ~DevicePlayer() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Busy main-thread traffic for the given time; returns how many plays worked.
int Traffic(Engine& engine, std::chrono::milliseconds length) {
    std::vector<std::int16_t> v(3000);
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::int16_t>((i * 97) % 16000 - 8000);
    const auto pcm = Pcm16(v);
    Sample* shortOne = engine.CreateSound(3000, 16, 1, 44100, pcm.data(), false);
    Sample* looped = engine.CreateSound(1500, 16, 2, 22050, pcm.data(), true);
    std::vector<std::uint32_t> held;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    int plays = 0;
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end) {
        const unsigned r = next() % 10;
        if (r < 3) {
            // Fire and forget: the channel is freed at once.
            const std::uint32_t h = engine.Play(shortOne, false, 0);
            plays += h != 0;
            engine.FreeChannel(h);
        } else if (r < 5 && held.size() < 64) {
            const std::uint32_t h = engine.Play(looped, next() % 2, 0);
            if (h) held.push_back(h), ++plays;
        } else if (!held.empty()) {
            const std::uint32_t h = held[next() % held.size()];
            switch (r) {
                case 5: engine.SetVolume(h, (next() % 100) / 100.0f); break;
                case 6: engine.SetPan(h, (next() % 200) / 100.0f - 1.0f); break;
                case 7: engine.SetRate(h, 0.5f + (next() % 100) / 50.0f); break;
                case 8: engine.SetPaused(h, next() % 2); break;
                default:
                    engine.ChannelStatus(h);
                    engine.ChannelPosition(h);
                    engine.StopChannel(h);
                    std::erase(held, h);
                    break;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    for (std::uint32_t h : held) engine.StopChannel(h);
    engine.FreeSound(shortOne);
    engine.FreeSound(looped);
    return plays;
}

bool AnySound(const std::vector<std::int16_t>& v) {
    return std::any_of(v.begin(), v.end(), [](std::int16_t x) { return x != 0; });
}

TEST(SoftMixHandover, MultimediaOutputThreadAndMainThread) {
    Engine engine;  // the real millisecond clock
    auto d = std::make_unique<SimulatedWaveDevice>();
    SimulatedWaveDevice* dev = d.get();
    ASSERT_EQ(engine.Start(std::make_unique<MultimediaOutput>(std::move(d), true)), 0);
    int plays = 0;
    {
        DevicePlayer player(dev, 256, 5800);  // about real time
        plays = Traffic(engine, std::chrono::milliseconds(600));
    }
    EXPECT_TRUE(AnySound(dev->TakeRecording()));
    engine.Close();  // joins the output thread; the device goes with it
    EXPECT_GT(plays, 100);
}

TEST(SoftMixHandover, StreamOutputThreadAndMainThread) {
    Engine engine;
    auto d = std::make_unique<SimulatedWaveDevice>();
    SimulatedWaveDevice* dev = d.get();
    auto out = std::make_unique<StreamOutput>(std::move(d), true);
    StreamOutput* stream = out.get();
    ASSERT_EQ(engine.Start(std::move(out)), 0);
    int plays = 0;
    {
        DevicePlayer player(dev, 1024, 23000);
        plays = Traffic(engine, std::chrono::milliseconds(600));
        EXPECT_FALSE(stream->Finished());
    }
    EXPECT_TRUE(AnySound(dev->TakeRecording()));
    engine.Close();
    EXPECT_GT(plays, 100);
}

TEST(SoftMixHandover, MixingAllocatesNothing) {
    ManualEngine m;
    std::vector<std::int16_t> v(700, 1234);
    const auto pcm = Pcm16(v);
    Sample* s = m.engine.CreateSound(700, 16, 1, 44100, pcm.data(), false);
    Sample* l = m.engine.CreateSound(350, 16, 2, 48000, pcm.data(), true);
    // Voices made up front; then start, finish and recycle them while mixing.
    for (int i = 0; i < 200; ++i) m.engine.FreeChannel(m.engine.Play(i % 2 ? s : l, false, 0));
    std::vector<std::int16_t> block(1024);
    g_now = 100000;
    const long before = g_allocations.load();
    for (int i = 0; i < 50; ++i) m.output->mixer_->Mix(block.data(), 1024);
    EXPECT_EQ(g_allocations.load(), before);
    m.engine.FreeSound(s);
    m.engine.FreeSound(l);
}

}  // namespace
}  // namespace kestrel::softmix::test

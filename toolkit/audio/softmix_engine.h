// The mixer engine's flat operations: samples, channel handles and voices on
// the main thread, one output pulling mixed blocks on its own thread. Every
// operation is called from the main thread; on an engine that is not
// started, or with a zero or stale handle, an operation does nothing and
// returns 0.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/audio/softmix_handles.h"
#include "toolkit/audio/softmix_mixer.h"
#include "toolkit/audio/softmix_output.h"
#include "toolkit/audio/softmix_sample.h"
#include "toolkit/audio/softmix_voice.h"

namespace kestrel::softmix {

class Engine {
public:
    // clock: the millisecond clock that stamps queued voices (MilliSecs by
    // default; tests pass their own).
    explicit Engine(MilliClock clock = nullptr);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Builds the handle table and mixer and starts the output: 0, or −1 when
    // the output cannot start (the engine then stays stopped).
    int Start(std::unique_ptr<Output> output);
    // Stops the output, frees every voice and the tables.
    void Close();
    bool Started() const { return output_ != nullptr; }

    // Samples live by their reference count, independently of the engine's
    // state: sounds may outlive a Close.
    Sample* CreateSound(int frames, int bits, int channels, int hertz, const void* data, bool loop);
    void FreeSound(Sample* sample);

    std::uint32_t AllocChannel();
    std::uint32_t Play(Sample* sample, bool paused, std::uint32_t handle);
    void FreeChannel(std::uint32_t handle);
    int ChannelStatus(std::uint32_t handle);
    // Whole frames of the voice's play position.
    int ChannelPosition(std::uint32_t handle);
    void StopChannel(std::uint32_t handle);
    void SetPaused(std::uint32_t handle, bool paused);
    void SetVolume(std::uint32_t handle, float x);
    void SetPan(std::uint32_t handle, float x);
    void SetDepth(std::uint32_t handle, float x);
    void SetRate(std::uint32_t handle, float x);

    // Voices made so far (at most kMaxVoices).
    int VoiceCount() const { return static_cast<int>(voices_.size()); }

private:
    Voice* VoiceFor(std::uint32_t handle);
    Voice* TakeVoice();
    void Recycle(Voice* v);

    MilliClock clock_;
    std::unique_ptr<HandleTable> handles_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<Output> output_;
    std::vector<std::unique_ptr<Voice>> voices_;
};

// Control value conversions: 4.12 for volume, pan and depth, 16.16 for rate.
// Truncates toward zero; values beyond the field saturate.
std::int16_t ToGain(float x);
std::int32_t ToRate(float x);

}  // namespace kestrel::softmix

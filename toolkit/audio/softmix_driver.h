// The "SoftMix" drivers: every playing channel mixed in software into one
// 44100 Hz 16-bit stereo stream, fed to the wave device through the
// multimedia ring (mode 0), the streaming buffer (mode 1), or the first of
// the two that starts (mode -1). They are registered at start-up but only
// chosen by SetAudioDriver with their names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/softmix_sample.h"

namespace kestrel {

class TSoftMixChannel;
using TSoftMixChannelPtr = std::shared_ptr<TSoftMixChannel>;

class TSoftMixSound : public TSound {
public:
    // Drops the sound's reference to the engine's sample.
    ~TSoftMixSound() override;

    TChannelPtr Play(const TChannelPtr& channel) override;
    TChannelPtr Cue(const TChannelPtr& channel) override;

    // Wraps an engine sample (the TAudioSample it was made from is not kept).
    static std::shared_ptr<TSoftMixSound> CreateWithSound(softmix::Sample* sm_sound, const TAudioSamplePtr& sample);

    softmix::Sample* sm_sound = nullptr;

private:
    TChannelPtr Start(const TChannelPtr& channel, bool paused);
};

class TSoftMixChannel : public TChannel {
public:
    // Frees the channel's handle; what it plays plays on.
    ~TSoftMixChannel() override;

    void Stop() override;
    void SetPaused(int paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float depth) override;
    void SetRate(float rate) override;
    // 1 while the voice is neither free, finished nor paused.
    int Playing() override;
    // Whole frames played of the sample.
    int Position();

    static TSoftMixChannelPtr CreateWithChannel(std::uint32_t handle);

    // The handle while it belongs to the engine's current run, else 0.
    std::uint32_t Handle() const;

    std::uint32_t sm_channel = 0;  // 0 = none

private:
    // Handles of an earlier start of the engine mean nothing to a later one.
    std::uint32_t run_ = 0;
};

class TSoftMixAudioDriver : public TAudioDriver {
public:
    std::string Name() override { return _name; }
    // Starts the engine on the output(s) of the mode; 1 when one started.
    int Startup() override;
    void Shutdown() override;
    TSoundPtr CreateSound(const TAudioSamplePtr& sample, int flags) override;
    TChannelPtr AllocChannel() override;

    static std::shared_ptr<TSoftMixAudioDriver> Create(const std::string& name, int mode);

    std::string _name;
    int _mode = -1;  // -1 any output, 0 multimedia, 1 DirectSound
};

// Creates the drivers (once): "SoftMix DirectSound" when the sound-buffer
// service can exist, then "SoftMix Multimedia" and "SoftMix".
void InitSoftMixDriver();

}  // namespace kestrel

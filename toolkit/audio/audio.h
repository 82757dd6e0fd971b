// The audio module's functions: loading and playing sounds, channels, and
// the driver choice. Passing a null sound or channel raises
// TNullObjectException.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/audio_sample.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/audio/sound.h"

namespace kestrel {

TAudioSamplePtr CreateAudioSample(int length, int hertz, int format);
TAudioSamplePtr CreateStaticAudioSample(std::uint8_t* samples, int length, int hertz, int format);

TSoundPtr LoadSound(const Url& url, int flags = 0);
TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
TChannelPtr AllocChannel();
void StopChannel(const TChannelPtr& channel);
void PauseChannel(const TChannelPtr& channel);
void ResumeChannel(const TChannelPtr& channel);
int ChannelPlaying(const TChannelPtr& channel);
void SetChannelVolume(const TChannelPtr& channel, float volume);
void SetChannelPan(const TChannelPtr& channel, float pan);
void SetChannelDepth(const TChannelPtr& channel, float depth);
void SetChannelRate(const TChannelPtr& channel, float rate);

// The audio core's start-up (once): creates the "Null" driver and registers
// the exit handler that shuts down the current driver.
void InitAudioCore();
// The "Null" driver instance (null before InitAudioCore).
TAudioDriverPtr NullAudioDriver();

}  // namespace kestrel

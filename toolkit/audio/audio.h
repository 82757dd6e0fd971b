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

// A new sample of length frames at hertz frames a second in format (SF_*),
// its data zeroed and owned.
TAudioSamplePtr CreateAudioSample(int length, int hertz, int format);
// A sample over the caller's frames (not copied, not freed; they must
// outlive it).
TAudioSamplePtr CreateStaticAudioSample(std::uint8_t* samples, int length, int hertz, int format);

// A sound from a WAV or Ogg Vorbis file, stream, "incbin::" name or sample,
// for the current audio driver; flags: SOUND_LOOP to loop it. Null when no
// loader can read url.
TSoundPtr LoadSound(const Url& url, int flags = 0);
// Plays the sound on channel (stopping what it played), or on a new channel
// when null; returns the channel.
TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
// As PlaySound, but paused: set the channel up, then ResumeChannel.
TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
// A channel of the current driver to play sounds on again and again.
TChannelPtr AllocChannel();
// Stops what the channel plays.
void StopChannel(const TChannelPtr& channel);
// Pauses the channel.
void PauseChannel(const TChannelPtr& channel);
// Resumes a paused or cued channel.
void ResumeChannel(const TChannelPtr& channel);
// 1 while the channel plays (not paused, not at its end), else 0.
int ChannelPlaying(const TChannelPtr& channel);
// The channel's volume, 0 (silent) to 1 (full, the default); clamped.
void SetChannelVolume(const TChannelPtr& channel, float volume);
// The channel's balance, -1 (left) to 1 (right), 0 centred; clamped.
void SetChannelPan(const TChannelPtr& channel, float pan);
// The channel's depth, for drivers that place sound in depth; the default
// "DirectSound" driver ignores it.
void SetChannelDepth(const TChannelPtr& channel, float depth);
// The channel's playback rate as a multiple of the sound's own (1 the
// default; 2 an octave up and twice as fast).
void SetChannelRate(const TChannelPtr& channel, float rate);

// The audio core's start-up (once): creates the "Null" driver and registers
// the exit handler that shuts down the current driver.
void InitAudioCore();
// The "Null" driver instance (null before InitAudioCore).
TAudioDriverPtr NullAudioDriver();

}  // namespace kestrel

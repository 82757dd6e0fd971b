// The "DirectSound" audio driver: every sound owns a static buffer of the
// sound-buffer service holding the whole sample; overlapping plays of one
// sound get duplicates of that buffer. A channel owns a buffer only while
// it holds the buffer's current sequence number: handing the buffer to
// another channel, stopping it or finding it finished increments the number
// and so silently disowns the previous channel.
#pragma once

#include <memory>
#include <string>

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/sound_buffer.h"
#include "toolkit/audio/sound_buffer_device.h"

namespace kestrel {

class TBuf;
class TDirectSoundSound;
class TDirectSoundChannel;
class TDirectSoundAudioDriver;
using TBufPtr = std::shared_ptr<TBuf>;

// One buffer in a sound's chain (the primary buffer and its duplicates).
class TBuf : public Object {
public:
    // 0 while cued or paused, else whether the buffer is playing.
    int Playing();
    // 1 while cued or paused, else whether the buffer is playing: an active
    // buffer is not free for another channel.
    int Active();
    // The next buffer of the chain (a sound's, or the driver's lonely ones).
    const TBufPtr& Next() const { return _succ; }

    SoundBufferPtr _buffer;  // null once released
    int _seq = 0;
    int _paused = 0;

private:
    // The chain is linked by the channels (a new duplicate) and the driver
    // (the lonely list).
    friend class TDirectSoundChannel;
    friend class TDirectSoundAudioDriver;
    TBufPtr _succ;
};

class TDirectSoundSound : public TSound {
public:
    // Hands the buffers to the current driver's lonely list (they may still
    // be sounding) when the sound belongs to the current generation.
    ~TDirectSoundSound() override;

    TChannelPtr Play(const TChannelPtr& channel) override;
    TChannelPtr Cue(const TChannelPtr& channel) override;

    // A sound over a new buffer filled with the sample (big-endian samples
    // converted first). Failing steps raise "<step> failed (<code>)".
    static std::shared_ptr<TDirectSoundSound> Create(const TAudioSamplePtr& sample, int flags);

    int _seq = 0;
    SoundBufferPtr _buffer;
    int _hertz = 0;
    int _loop = 0;
    TBufPtr _bufs;
};

class TDirectSoundChannel : public TChannel {
public:
    // A channel destroyed while it owns a cued or paused buffer stops it;
    // a playing buffer plays on to its end.
    ~TDirectSoundChannel() override;

    void Stop() override;
    void SetPaused(int paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float) override {}
    void SetRate(float rate) override;
    int Playing() override;

    // Takes a free buffer of the sound (or a new duplicate), rewound, cued
    // and set to this channel's volume, pan and rate. 0 when no buffer could
    // be had (the channel is then silent).
    int Cue(const std::shared_ptr<TDirectSoundSound>& sound);
    static std::shared_ptr<TDirectSoundChannel> Create(int isStatic);

    // True while _buf is set and still carries the number this channel took.
    bool Owns() const { return _buf && _seq == _buf->_seq; }

    float _volume = 1.0f;  // shaped (ShapeVolume)
    float _pan = 0.0f;     // shaped (ShapePan)
    float _rate = 1.0f;
    int _static = 0;
    TSoundPtr _sound;
    TBufPtr _buf;
    int _seq = 0;
    int _hertz = 0;
    int _playFlags = 0;
};

class TDirectSoundAudioDriver : public TAudioDriver {
public:
    ~TDirectSoundAudioDriver() override;
    std::string Name() override { return _name; }
    // Opens a sound-buffer device; 0 when none can be opened.
    int Startup() override;
    void Shutdown() override;
    TSoundPtr CreateSound(const TAudioSamplePtr& sample, int flags) override;
    TChannelPtr AllocChannel() override;

    static std::shared_ptr<TDirectSoundAudioDriver> Create(const std::string& name, int mode);
    // Links a sound's chain in front of the lonely list.
    void AddLonely(TBufPtr chain);
    // Releases every lonely buffer that is no longer active.
    void FlushLonely();
    // The open device (null while not started).
    SoundBufferDevice* Device() const { return _dsound.get(); }

    std::string _name;
    int _mode = 0;
    std::unique_ptr<SoundBufferDevice> _dsound;
    TBufPtr _lonely;
};

// The started "DirectSound" driver, or null.
TDirectSoundAudioDriver* CurrentDirectSoundDriver();
// Incremented by every Shutdown; sounds remember the value they were made in.
int DirectSoundGeneration();
// Runtime error "<step> failed (<low 16 bits of code>)" when code != 0.
void CheckDirectSound(int code, const char* step);

// Creates the "DirectSound" driver (once) when the sound-buffer service can
// exist on this system.
void InitDirectSoundDriver();

}  // namespace kestrel

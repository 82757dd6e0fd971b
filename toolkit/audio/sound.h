// TSound, a sample prepared for a driver, and TChannel, one playing (or
// cued) instance of a sound. The base classes are what the "Null" driver
// hands out: silent sounds and channels that never play.
#pragma once

#include <memory>

#include "toolkit/resources/url.h"
#include "toolkit/core/object.h"

namespace kestrel {

class TChannel;
class TSound;
// A shared channel; null is none.
using TChannelPtr = std::shared_ptr<TChannel>;
// A shared sound; null is none.
using TSoundPtr = std::shared_ptr<TSound>;

// Sound flags of LoadSound / CreateSound.
enum : int {
    SOUND_LOOP = 1,      // loop the sound
    SOUND_HARDWARE = 2,  // ask for a hardware-mixed buffer
};

// A voice that plays one sound at a time (the audio module's *Channel
// functions call these).
class TChannel : public Object {
public:
    // Stops what the channel plays.
    virtual void Stop() {}
    // Pauses (1) or resumes (0).
    virtual void SetPaused(int /*paused*/) {}
    // Volume 0..1 (see SetChannelVolume).
    virtual void SetVolume(float /*volume*/) {}
    // Balance -1..1 (see SetChannelPan).
    virtual void SetPan(float /*pan*/) {}
    // Depth (see SetChannelDepth).
    virtual void SetDepth(float /*depth*/) {}
    // Rate multiplier (see SetChannelRate).
    virtual void SetRate(float /*rate*/) {}
    // 1 while playing, else 0.
    virtual int Playing() { return 0; }
};

// A sample prepared for the current audio driver (LoadSound).
class TSound : public Object {
public:
    // The base versions return a new base TChannel and do nothing else.
    virtual TChannelPtr Play(const TChannelPtr& channel);
    // As Play, but paused (see CueSound).
    virtual TChannelPtr Cue(const TChannelPtr& channel);

    // The url itself when it is a sample, else LoadAudioSample(url); Null
    // when there is no sample, else AudioDriver().CreateSound(sample, flags).
    static TSoundPtr Load(const Url& url, int flags);
};

}  // namespace kestrel

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
using TChannelPtr = std::shared_ptr<TChannel>;
using TSoundPtr = std::shared_ptr<TSound>;

// Sound flags of LoadSound / CreateSound.
enum : int {
    SOUND_LOOP = 1,      // loop the sound
    SOUND_HARDWARE = 2,  // ask for a hardware-mixed buffer
};

class TChannel : public Object {
public:
    virtual void Stop() {}
    virtual void SetPaused(int /*paused*/) {}
    virtual void SetVolume(float /*volume*/) {}
    virtual void SetPan(float /*pan*/) {}
    virtual void SetDepth(float /*depth*/) {}
    virtual void SetRate(float /*rate*/) {}
    virtual int Playing() { return 0; }
};

class TSound : public Object {
public:
    // The base versions return a new base TChannel and do nothing else.
    virtual TChannelPtr Play(const TChannelPtr& channel);
    virtual TChannelPtr Cue(const TChannelPtr& channel);

    // The url itself when it is a sample, else LoadAudioSample(url); Null
    // when there is no sample, else AudioDriver().CreateSound(sample, flags).
    static TSoundPtr Load(const Url& url, int flags);
};

}  // namespace kestrel

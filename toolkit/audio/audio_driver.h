// TAudioDriver and the driver registry. The base class is the "Null"
// driver: silent sounds, channels that never play. Constructing a driver
// links it at the head of the registry (newest first); drivers are made
// with std::make_shared and live for the whole program.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/audio/audio_sample.h"
#include "toolkit/audio/sound.h"

namespace kestrel {

class TAudioDriver;
// A shared audio driver.
using TAudioDriverPtr = std::shared_ptr<TAudioDriver>;

// An audio driver: makes the sounds and channels of the audio functions.
class TAudioDriver : public Object {
public:
    TAudioDriver();
    TAudioDriver(const TAudioDriver&) = delete;
    TAudioDriver& operator=(const TAudioDriver&) = delete;
    // Unlinks the driver from the registry.
    ~TAudioDriver() override;

    // The name SetAudioDriver knows it by.
    virtual std::string Name() { return "Null"; }
    // Opens the driver's output: 1 on success, 0 when it cannot.
    virtual int Startup() { return 1; }
    // Closes the driver's output.
    virtual void Shutdown() {}
    // A sound of the sample for this driver (SOUND_LOOP in flags loops it).
    virtual TSoundPtr CreateSound(const TAudioSamplePtr& sample, int flags);
    // A new channel of this driver.
    virtual TChannelPtr AllocChannel();
    // TSound::Load of url for this driver; null when it cannot be loaded.
    virtual TSoundPtr LoadSound(const Url& url, int flags);

    // The next (older) driver in the registry, or null.
    TAudioDriver* Next() const { return _succ; }

private:
    TAudioDriver* _succ = nullptr;  // linked and unlinked by the constructor and destructor
};

// Head of the driver registry (the newest driver), or null.
TAudioDriver* AudioDriverRegistry();

// The current driver, choosing the default on first use: "DirectSound",
// else "Null".
TAudioDriverPtr AudioDriver();
// Shuts the current driver down, makes "Null" current, then starts the
// driver with this name (any case). 1 on success; 0 when there is no such
// driver or its Startup fails ("Null" then stays current).
int SetAudioDriver(const std::string& name);
// Names of the registered drivers, registry order, at most 100.
std::vector<std::string> AudioDrivers();
// 1 when a registered driver has this name (case-insensitive).
int AudioDriverExists(const std::string& name);
// Shuts the current driver down (if it is not the Null object) and clears it.
void ShutdownAudioDriver();

}  // namespace kestrel

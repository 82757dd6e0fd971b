// The wave device the mixer's outputs write to: a ring of 44100 Hz 16-bit
// stereo PCM that the device plays continuously in a loop, with a play
// position, a reset, and a notification each time playback crosses a segment
// boundary. One implementation runs over SDL audio (sdl/wave_output.h);
// SimulatedWaveDevice plays by hand for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kestrel::softmix {

class WaveDevice {
public:
    virtual ~WaveDevice() = default;

    // Opens the device for a zero-filled ring of ringBytes bytes, not yet
    // playing. False if it cannot.
    virtual bool Open(std::size_t ringBytes) = 0;
    // Plays the ring as it stands in a loop from its start, the play position
    // counting from 0. False when the ring cannot be submitted.
    virtual bool Play() = 0;
    // Stops playback, zero-fills the ring and sets the play position to 0.
    virtual void Reset() = 0;
    // Copies count values into the ring at byte offset `offset` (wrapping).
    virtual void Write(std::size_t offset, const std::int16_t* values, std::size_t count) = 0;
    // Bytes played since Play, as a running count. False when the device
    // cannot tell.
    virtual bool Position(std::uint64_t& bytes) = 0;
    // From now on notify(user) is called (on the device's thread) every time
    // the play position crosses a multiple of segmentBytes.
    virtual void SetNotify(std::size_t segmentBytes, void (*notify)(void*), void* user) = 0;
    // Stops and closes the device.
    virtual void Close() = 0;
};

// How the SoftMix drivers get their wave device: the platform layer installs
// a factory at start-up (tests install one of their own). With no factory, or
// a factory that returns null, the outputs cannot start.
using WaveDeviceFactory = std::unique_ptr<WaveDevice> (*)();
void SetWaveDeviceFactory(WaveDeviceFactory factory);
bool HasWaveDeviceFactory();
std::unique_ptr<WaveDevice> CreateWaveDevice();

}  // namespace kestrel::softmix

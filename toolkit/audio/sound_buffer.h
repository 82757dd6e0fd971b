// The sound-buffer service: static PCM buffers that are played once or
// looped, with volume and pan in hundredths of a decibel and a playback
// frequency in Hz, mixed together by a SoundBufferMixer. This is the
// platform service the "DirectSound" driver is written against; its calls
// and result codes follow that shape (0 for success, an error code whose low
// 16 bits the driver reports).
//
// All calls come from the main thread. The mixer runs in the audio callback
// (or, without a device, wherever the caller mixes); the two meet only under
// the mixer's lock, which is the audio device's own lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kestrel {

class SoundBufferMixer;
struct SoundVoice;

inline constexpr int SB_OK = 0;
inline constexpr int SB_ERR_INVALIDPARAM = int(0x80070057u);
inline constexpr int SB_ERR_OUTOFMEMORY = int(0x8007000Eu);
inline constexpr int SB_ERR_INVALIDCALL = int(0x88780032u);

// Status bits.
inline constexpr int SB_STATUS_PLAYING = 1;
inline constexpr int SB_STATUS_LOOPING = 4;
// Play flags.
inline constexpr int SB_PLAY_LOOPING = 1;
// Lock flags.
inline constexpr int SB_LOCK_ENTIREBUFFER = 2;
// Creation flags (SoundBufferDesc::flags).
inline constexpr int SB_CREATE_STATIC = 0x2;
inline constexpr int SB_CREATE_LOCSOFTWARE = 0x8;
inline constexpr int SB_CREATE_CTRLFREQUENCY = 0x20;
inline constexpr int SB_CREATE_CTRLPAN = 0x40;
inline constexpr int SB_CREATE_CTRLVOLUME = 0x80;
inline constexpr int SB_CREATE_GLOBALFOCUS = 0x8000;

// Volume and pan limits, in hundredths of a decibel; frequency limits in Hz
// (0 asks for the buffer's own rate).
inline constexpr int SB_VOLUME_MIN = -10000;
inline constexpr int SB_VOLUME_MAX = 0;
inline constexpr int SB_PAN_LEFT = -10000;
inline constexpr int SB_PAN_RIGHT = 10000;
inline constexpr int SB_FREQUENCY_MIN = 100;
inline constexpr int SB_FREQUENCY_MAX = 200000;

// A buffer's PCM layout and size. Creation flags are accepted as given (every
// buffer is mixed in software here).
struct SoundBufferDesc {
    int flags = 0;
    int channels = 0;       // 1 or 2
    int hertz = 0;          // SB_FREQUENCY_MIN..SB_FREQUENCY_MAX
    int bitsPerSample = 0;  // 8 (unsigned) or 16 (signed little-endian)
    int bytes = 0;          // whole frames; 0 is an empty, silent buffer
};

class SoundBuffer {
public:
    SoundBuffer(std::shared_ptr<SoundBufferMixer> mixer, SoundVoice* voice);
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;
    // Releases the buffer: it stops sounding at once.
    ~SoundBuffer();

    int GetStatus(int* status);
    // Write access to `bytes` bytes from `offset` (wrapping at the end); with
    // SB_LOCK_ENTIREBUFFER the whole buffer. Unlock with the same pointers.
    int Lock(int offset, int bytes, void** p1, int* n1, void** p2, int* n2, int flags);
    int Unlock(void* p1, int n1, void* p2, int n2);
    // Starts (or continues) playing from the current position.
    int Play(int flags);
    // Stops; the position is kept.
    int Stop();
    int SetCurrentPosition(int bytes);
    int GetCurrentPosition(int* bytes);
    int SetVolume(int centibels);
    int GetVolume(int* centibels);
    int SetPan(int centibels);
    int GetPan(int* centibels);
    int SetFrequency(int hertz);
    int GetFrequency(int* hertz);

    SoundBufferMixer& Mixer() const { return *mixer_; }
    SoundVoice* Voice() const { return voice_; }

private:
    // Works out the side gains from the voice's volume and pan and hands them
    // to the mixing thread under the device lock.
    void StoreGains();

    std::shared_ptr<SoundBufferMixer> mixer_;
    SoundVoice* voice_;
    // Where a lock of a buffer whose data may be sounding writes; copied in
    // under the mixer's lock by Unlock.
    std::vector<std::uint8_t> staging_;
    int stagingOffset_ = 0;
    bool lockedDirect_ = false;
};

using SoundBufferPtr = std::shared_ptr<SoundBuffer>;

}  // namespace kestrel

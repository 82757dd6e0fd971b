// Band-limited frequency conversion for one voice of the sound-buffer
// service: the voice's frames go in at its own rate and come out at the
// output rate through a windowed-sinc converter, so nothing above the
// source's Nyquist frequency is mirrored into the output. Made on the main
// thread; Convert runs in the mixing with no allocation.
#pragma once

#include <cstdint>
#include <memory>

namespace kestrel {

class VoiceResampler {
public:
    static constexpr int kChunkFrames = 256;  // source frames fed per refill

    // nullptr when the converter cannot be made.
    static std::unique_ptr<VoiceResampler> Create(int channels);
    ~VoiceResampler();
    VoiceResampler(const VoiceResampler&) = delete;
    VoiceResampler& operator=(const VoiceResampler&) = delete;

    // Forgets everything fed (a new position in the buffer).
    void Reset();

    // Source frames waiting to be converted; the converter takes more with
    // Feed only when none wait.
    int Pending() const { return pending_; }
    // Room for kChunkFrames frames of `channels` floats each; Feed(n) hands
    // over the first n of them, `last` when the source ends after them.
    float* FeedBuffer() { return in_.get(); }
    void Feed(int frames, bool last);
    // The source's last frames have been fed (no more may be).
    bool Fed() const { return last_; }
    // Everything fed has come out: a one-shot voice has played out.
    bool Drained() const { return drained_; }

    // Converts into `out` (interleaved, at most `frames` frames) at `ratio`
    // output frames per source frame; returns the frames made, and the
    // source frames used in *used. Made 0 with Ended() means it has drained.
    int Convert(float* out, int frames, double ratio, int* used);

private:
    explicit VoiceResampler(int channels);
    void* state_ = nullptr;  // the converter's own state
    int channels_;
    std::unique_ptr<float[]> in_;
    int offset_ = 0;   // first waiting frame in in_
    int pending_ = 0;  // frames waiting
    bool last_ = false;
    bool drained_ = false;
};

}  // namespace kestrel

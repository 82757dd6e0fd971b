// The sound-buffer service's limiter on its mix bus. Many sounds started in
// one update (a clear plays one per cell, all in phase) can sum far above
// full scale; instead of clipping, the bus gain drops at once to what keeps
// the loudest sample under full scale along a soft knee, then recovers over
// a release time. Below the threshold (-1 dBFS) with the gain recovered the
// mix passes unchanged, sample for sample.
#pragma once

namespace kestrel {

class MixLimiter {
public:
    static constexpr float kThreshold = 29204.0f;  // -1 dBFS of 32768
    static constexpr float kCeiling = 32700.0f;    // never reached: the knee tends to it
    static constexpr float kReleaseSeconds = 0.08f;

    explicit MixLimiter(int hertz);

    // Limits `frames` interleaved stereo frames in place (values in 16-bit
    // units, before rounding).
    void Process(float* lr, int frames);

    float Gain() const { return 1.0f - reduction_; }

private:
    float keep_;              // share of the reduction kept per frame in the release
    float reduction_ = 0.0f;  // 1 - the bus gain
};

}  // namespace kestrel

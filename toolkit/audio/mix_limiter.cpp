#include "toolkit/audio/mix_limiter.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

// The gain that brings a peak of `level` onto the soft knee: unity up to the
// threshold, then a curve that leaves it with the peak's slope and tends to
// the ceiling.
float KneeGain(float level) {
    if (level <= MixLimiter::kThreshold) return 1.0f;
    const float room = MixLimiter::kCeiling - MixLimiter::kThreshold;
    const float out = MixLimiter::kThreshold + room * std::tanh((level - MixLimiter::kThreshold) / room);
    return out / level;
}

}  // namespace

MixLimiter::MixLimiter(int hertz)
    : keep_(std::exp(-1.0f / (kReleaseSeconds * float(hertz > 0 ? hertz : 44100)))) {}

void MixLimiter::Process(float* lr, int frames) {
    for (int k = 0; k < frames; ++k) {
        float* f = lr + 2 * k;
        const float level = std::max(std::fabs(f[0]), std::fabs(f[1]));
        if (reduction_ == 0.0f && level <= kThreshold) continue;  // the common case: untouched
        const float wanted = 1.0f - KneeGain(level);
        if (wanted > reduction_) {
            reduction_ = wanted;  // at once: no sample goes over
        } else {
            // The reduction decays toward what this sample needs; kept as
            // a reduction (not a gain) so it reaches exactly 0.
            reduction_ = wanted + (reduction_ - wanted) * keep_;
            if (reduction_ < 1e-6f) reduction_ = 0.0f;
        }
        const float gain = 1.0f - reduction_;
        f[0] *= gain;
        f[1] *= gain;
    }
}

}  // namespace kestrel

#include "toolkit/audio/softmix_mixer.h"

#include <algorithm>

namespace kestrel::softmix {

namespace {

// The accumulator wraps like the 32-bit register it models instead of
// overflowing (which C++ leaves undefined).
inline void Accumulate(std::int32_t& acc, std::int32_t x) {
    acc = static_cast<std::int32_t>(static_cast<std::uint32_t>(acc) + static_cast<std::uint32_t>(x));
}

// Linear interpolation between a and b by a 16-bit fraction.
inline std::int32_t Lerp(std::int32_t a, std::int32_t b, std::uint32_t frac16) {
    return a + static_cast<std::int32_t>((static_cast<std::int64_t>(b - a) * frac16) >> 16);
}

// Brings a looping position back into the sample: the same as subtracting
// the frame count while the position is past the end.
inline std::uint64_t Wrap(std::uint64_t pos, int frames) {
    const std::uint64_t whole = (pos >> 32) % static_cast<std::uint64_t>(frames);
    return (whole << 32) | (pos & 0xFFFFFFFFu);
}

// Steps above 32767 whole frames per output frame are held there so that the
// 32.32 position cannot overflow within a block.
constexpr std::int64_t kMaxStep = 0x7FFFFFFF;

struct Span {
    const Sample* sample;
    std::int32_t* acc;
    int frames;
    std::uint64_t step;  // 32.32
    std::int32_t volume, target, pan;
};

// Mixes up to span.frames frames; returns false when a one-shot sample ran
// out. pos is advanced in place.
template <bool Stereo, bool Ramp>
bool MixFrames(const Span& s, std::uint64_t& pos) {
    const Sample& smp = *s.sample;
    const std::int16_t* d = smp.data.data();
    const std::uint64_t end = static_cast<std::uint64_t>(smp.frames) << 32;
    std::int32_t* acc = s.acc;
    std::int32_t vol88 = s.volume * 256;
    const std::int32_t volStep = Ramp ? (s.target - s.volume) * 256 / s.frames : 0;
    std::int32_t gl = LeftGain(s.volume, s.pan);
    std::int32_t gr = RightGain(s.volume, s.pan);
    for (int f = 0; f < s.frames; ++f) {
        if (pos >= end) {
            if (!smp.loop) return false;
            pos = Wrap(pos, smp.frames);
        }
        if constexpr (Ramp) {
            vol88 += volStep;
            gl = LeftGain(vol88 >> 8, s.pan);
            gr = RightGain(vol88 >> 8, s.pan);
        }
        const auto whole = static_cast<std::size_t>(pos >> 32);
        const auto frac = static_cast<std::uint32_t>(pos >> 16) & 0xFFFFu;
        std::int32_t l, r;
        if constexpr (Stereo) {
            const std::int16_t* p = d + 2 * whole;
            l = Lerp(p[0], p[2], frac);
            r = Lerp(p[1], p[3], frac);
        } else {
            const std::int16_t* p = d + whole;
            l = r = Lerp(p[0], p[1], frac);
        }
        Accumulate(acc[2 * f], (l * gl) >> 8);
        Accumulate(acc[2 * f + 1], (r * gr) >> 8);
        pos += s.step;
    }
    return true;
}

}  // namespace

Mixer::Mixer(int blockValues, MilliClock clock)
    : blockValues_(blockValues & ~1),
      clock_(clock),
      acc_(static_cast<std::size_t>(blockValues_), 0),
      incoming_(kMaxVoices),
      finished_(kMaxVoices) {
    active_.reserve(kMaxVoices);
}

Voice* Mixer::TakeFinished() {
    Voice* v = nullptr;
    return finished_.Pop(v) ? v : nullptr;
}

void Mixer::AdmitQueued() {
    Voice* v = nullptr;
    bool haveNow = false;
    std::int32_t now = 0;
    while (incoming_.Pop(v)) {
        if (!haveNow) {
            now = clock_();
            haveNow = true;
        }
        // Each voice starts 20 ms after its play call, wherever in the block
        // the call fell. The difference is taken modulo 2^32 so that the
        // clock may wrap; it cannot exceed the 20 ms.
        std::int32_t wait = static_cast<std::int32_t>(static_cast<std::uint32_t>(v->queuedAt) +
                                                      kStartDelayMs - static_cast<std::uint32_t>(now));
        wait = std::clamp(wait, 0, kStartDelayMs);
        v->delayFrames = static_cast<std::int64_t>(wait) * kOutputHertz / 1000;
        if (active_.size() < active_.capacity()) {
            active_.push_back(v);
        } else {
            // Cannot happen while voices are bounded by kMaxVoices; never grow
            // the list on this thread.
            v->status.store(kStatusFinished, std::memory_order_release);
            finished_.Push(v);
        }
    }
}

bool Mixer::MixVoice(Voice& v, int frames) {
    const int status = v.status.load(std::memory_order_acquire);
    if (status == kStatusFree || (status & kStatusFinished) ||
        v.stopRequest.load(std::memory_order_acquire))
        return false;
    if (status & kStatusPaused) return true;

    int start = 0;
    if (v.delayFrames > 0) {
        if (v.delayFrames >= frames) {
            v.delayFrames -= frames;
            return true;
        }
        start = static_cast<int>(v.delayFrames);
        v.delayFrames = 0;
    }
    const int n = frames - start;

    // Control changes picked up for this block: rate and pan at once, the
    // volume ramped across the block.
    v.rate = v.rateTarget.load(std::memory_order_relaxed);
    v.pan = std::clamp<std::int32_t>(v.panTarget.load(std::memory_order_relaxed), -kGainOne, kGainOne);
    v.depth = v.depthTarget.load(std::memory_order_relaxed);
    const std::int32_t target = v.volumeTarget.load(std::memory_order_relaxed);
    // A voice that has not sounded yet has nothing to ramp from.
    if (!v.sounded) v.volume = target;

    const Sample& smp = *v.sample;
    const std::int64_t step16 = std::clamp<std::int64_t>(StepFor(smp.hertz, v.rate), 0, kMaxStep);
    const std::uint64_t step = static_cast<std::uint64_t>(step16) << 16;
    std::uint64_t pos = v.pos;
    bool playing = smp.frames > 0;

    if (!playing) {
        // An empty sample has nothing to play, looping or not.
    } else if (target == 0 && v.volume == 0) {
        // Silent: only the position moves, as if the voice had played.
        pos += step * static_cast<std::uint64_t>(n);
        const std::uint64_t end = static_cast<std::uint64_t>(smp.frames) << 32;
        if (pos >= end) {
            if (smp.loop) pos = Wrap(pos, smp.frames);
            else playing = false;
        }
    } else {
        const Span span{&smp, acc_.data() + 2 * start, n, step, v.volume, target, v.pan};
        const bool ramp = target != v.volume;
        if (smp.channels == 2) {
            playing = ramp ? MixFrames<true, true>(span, pos) : MixFrames<true, false>(span, pos);
        } else {
            playing = ramp ? MixFrames<false, true>(span, pos) : MixFrames<false, false>(span, pos);
        }
    }

    v.sounded = true;
    v.volume = target;
    v.pos = pos;
    v.position.store(pos, std::memory_order_relaxed);
    if (!playing) {
        v.status.store(kStatusFinished, std::memory_order_release);
        return false;
    }
    return true;
}

void Mixer::Mix(std::int16_t* out, int values) {
    values = std::min(values, blockValues_) & ~1;
    if (values <= 0) return;
    AdmitQueued();
    const int frames = values / 2;
    for (std::size_t i = 0; i < active_.size();) {
        Voice* v = active_[i];
        if (MixVoice(*v, frames)) {
            ++i;
            continue;
        }
        active_[i] = active_.back();
        active_.pop_back();
        finished_.Push(v);
    }
    for (int k = 0; k < values; ++k) {
        out[k] = ConvertAccumulator(acc_[k]);
        acc_[k] = 0;
    }
}

}  // namespace kestrel::softmix

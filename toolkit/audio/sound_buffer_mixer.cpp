#include "toolkit/audio/sound_buffer_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "toolkit/audio/sound_buffer_voice.h"

namespace kestrel {

namespace {

inline float ReadValue(const std::uint8_t* p, int bits) {
    if (bits == 8) return float((int(p[0]) - 128) * 256);
    return float(std::int16_t(p[0] | (p[1] << 8)));
}

// Mixes one voice into the accumulator; false when a one-shot voice ends
// within these frames. Linear interpolation between neighbouring frames;
// at the output rate the source frames come through unchanged.
template <int Channels, int Bits>
inline void MixFrame(const std::uint8_t* a, const std::uint8_t* b, float frac, float gl, float gr,
                     float* acc) {
    constexpr int kBps = Bits / 8;
    const float l0 = ReadValue(a, Bits), l1 = ReadValue(b, Bits);
    const float l = l0 + (l1 - l0) * frac;
    float r = l;
    if constexpr (Channels == 2) {
        const float r0 = ReadValue(a + kBps, Bits), r1 = ReadValue(b + kBps, Bits);
        r = r0 + (r1 - r0) * frac;
    }
    acc[0] += l * gl;
    acc[1] += r * gr;
}

// Mixes one voice into the accumulator; false when a one-shot voice ends
// within these frames. Linear interpolation between neighbouring frames;
// at the output rate the source frames come through unchanged.
template <int Channels, int Bits>
bool MixVoice(SoundVoice& v, float* acc, int frames) {
    constexpr int kBpf = Channels * Bits / 8;
    constexpr float kFrac = 1.0f / 4294967296.0f;
    const std::uint8_t* data = v.data;
    const std::uint64_t length = std::uint64_t(v.frames) << 32;
    // Positions below this have a next frame inside the buffer.
    const std::uint64_t inner = std::uint64_t(v.frames - 1) << 32;
    std::uint64_t pos = v.position;
    const std::uint64_t step = v.step ? v.step : 1;
    const float gl = v.gainLeft, gr = v.gainRight;
    int k = 0;
    while (k < frames) {
        if (pos >= length) {
            if (!v.looping) {
                v.position = 0;
                return false;
            }
            pos %= length;
        }
        if (pos < inner) {
            // A run with no buffer end in it.
            const std::uint64_t fit = (inner - pos + step - 1) / step;
            const int run = int(std::min<std::uint64_t>(fit, std::uint64_t(frames - k)));
            float* out = acc + 2 * k;
            for (int j = 0; j < run; ++j, pos += step, out += 2) {
                const std::uint8_t* a = data + std::size_t(pos >> 32) * kBpf;
                MixFrame<Channels, Bits>(a, a + kBpf, float(std::uint32_t(pos)) * kFrac, gl, gr, out);
            }
            k += run;
            continue;
        }
        // The last frame leads into the first (looping) or holds.
        const std::uint8_t* a = data + std::size_t(pos >> 32) * kBpf;
        const std::uint8_t* b = v.looping ? data : a;
        MixFrame<Channels, Bits>(a, b, float(std::uint32_t(pos)) * kFrac, gl, gr, acc + 2 * k);
        pos += step;
        ++k;
    }
    if (pos >= length && !v.looping) {
        v.position = 0;
        return false;
    }
    v.position = v.looping ? pos % length : pos;
    return true;
}

// Mixes a voice at another rate than the output's through its band-limited
// converter; false when a one-shot voice has played out. The position is
// the next source frame fed to the converter.
template <int Channels, int Bits>
bool MixResampled(SoundVoice& v, float* acc, int frames, float* converted) {
    constexpr int kBpf = Channels * Bits / 8;
    VoiceResampler& rs = *v.resampler;
    if (v.resamplerReset) {
        rs.Reset();
        v.resamplerReset = false;
    }
    const double ratio = 4294967296.0 / double(v.step ? v.step : 1);
    const std::uint64_t total = std::uint64_t(v.frames);
    std::uint64_t frame = v.position >> 32;
    const float gl = v.gainLeft, gr = v.gainRight;
    int k = 0;
    while (k < frames) {
        if (rs.Pending() == 0 && !rs.Fed()) {
            float* in = rs.FeedBuffer();
            int n = 0;
            while (n < VoiceResampler::kChunkFrames) {
                if (frame >= total) {
                    if (!v.looping) break;
                    frame = 0;
                }
                const std::uint8_t* p = v.data + std::size_t(frame) * kBpf;
                in[n * Channels] = ReadValue(p, Bits);
                if constexpr (Channels == 2) in[n * 2 + 1] = ReadValue(p + Bits / 8, Bits);
                ++n;
                ++frame;
            }
            rs.Feed(n, !v.looping && frame >= total);
        }
        int used = 0;
        const int made = rs.Convert(converted, frames - k, ratio, &used);
        float* out = acc + 2 * k;
        for (int j = 0; j < made; ++j, out += 2) {
            out[0] += converted[j * Channels] * gl;
            out[1] += converted[j * Channels + Channels - 1] * gr;
        }
        k += made;
        if (rs.Drained()) {
            v.position = 0;
            rs.Reset();
            return false;
        }
        if (made == 0 && used == 0 && rs.Pending() > 0) break;  // the converter refuses: try again next pass
    }
    v.position = frame << 32;
    return true;
}

// Rounded to nearest (halves away from zero) and clipped to 16 bits.
inline std::int16_t ToSample(float v) {
    v = std::clamp(v, -32768.0f, 32767.0f);
    return std::int16_t(v >= 0 ? v + 0.5f : v - 0.5f);
}

bool MixAny(SoundVoice& v, float* acc, int frames, float* converted) {
    if (v.resampler && v.step != (std::uint64_t(1) << 32)) {
        if (v.channels == 2)
            return v.bits == 8 ? MixResampled<2, 8>(v, acc, frames, converted)
                               : MixResampled<2, 16>(v, acc, frames, converted);
        return v.bits == 8 ? MixResampled<1, 8>(v, acc, frames, converted)
                           : MixResampled<1, 16>(v, acc, frames, converted);
    }
    if (v.channels == 2) {
        return v.bits == 8 ? MixVoice<2, 8>(v, acc, frames) : MixVoice<2, 16>(v, acc, frames);
    }
    return v.bits == 8 ? MixVoice<1, 8>(v, acc, frames) : MixVoice<1, 16>(v, acc, frames);
}

}  // namespace

SoundBufferMixer::SoundBufferMixer(int outputHertz)
    : outputHertz_(outputHertz > 0 ? outputHertz : kOutputHertz),
      accumulator_(std::size_t(kBlockFrames) * 2),
      converted_(std::size_t(kBlockFrames) * 2),
      limiter_(outputHertz_) {
    active_.reserve(64);
}

SoundBufferMixer::~SoundBufferMixer() = default;

std::shared_ptr<SoundBufferMixer> SoundBufferMixer::Create(int outputHertz) {
    return std::make_shared<SoundBufferMixer>(outputHertz);
}

std::uint64_t SoundBufferMixer::StepFor(int hertz) const {
    return (std::uint64_t(hertz) << 32) / std::uint64_t(outputHertz_);
}

void SoundBufferMixer::NeedsResampler(SoundVoice& v, int hertz) {
    if (hertz == outputHertz_ || v.resampler) return;
    auto r = VoiceResampler::Create(v.channels);  // allocates: never under the lock
    Guard g(*this);
    v.resampler = std::move(r);
    v.resamplerReset = true;
}

void SoundBufferMixer::ReserveActive() {
    // The active list never reallocates while the mixer walks it: it is
    // grown here, on the main thread, before a buffer that could join it
    // exists, and swapped in under the lock.
    if (std::size_t(voiceCount_) + 1 <= active_.capacity()) return;
    std::vector<SoundVoice*> bigger;
    bigger.reserve(active_.capacity() * 2 + 16);
    {
        Guard g(*this);
        bigger.assign(active_.begin(), active_.end());
        active_.swap(bigger);
    }
}

SoundBufferPtr SoundBufferMixer::NewBuffer(std::unique_ptr<SoundVoice> voice) {
    ReserveActive();
    ++voiceCount_;
    return std::make_shared<SoundBuffer>(shared_from_this(), voice.release());
}

int SoundBufferMixer::CreateBuffer(const SoundBufferDesc& desc, SoundBufferPtr* out) {
    if (!out) return SB_ERR_INVALIDPARAM;
    out->reset();
    if ((desc.channels != 1 && desc.channels != 2) ||
        (desc.bitsPerSample != 8 && desc.bitsPerSample != 16) ||
        desc.hertz < SB_FREQUENCY_MIN || desc.hertz > SB_FREQUENCY_MAX || desc.bytes < 0)
        return SB_ERR_INVALIDPARAM;
    const int bpf = desc.channels * desc.bitsPerSample / 8;
    if (desc.bytes % bpf) return SB_ERR_INVALIDPARAM;

    auto block = std::make_shared<PcmBlock>();
    try {
        block->bytes.reset(new std::uint8_t[std::size_t(desc.bytes) + 1]());
    } catch (const std::bad_alloc&) {
        return SB_ERR_OUTOFMEMORY;
    }
    block->size = desc.bytes;

    auto v = std::make_unique<SoundVoice>();
    v->data = block->bytes.get();
    v->frames = desc.bytes / bpf;
    v->channels = desc.channels;
    v->bits = desc.bitsPerSample;
    v->bytesPerFrame = bpf;
    v->originalHertz = desc.hertz;
    v->frequency = desc.hertz;
    v->step = StepFor(desc.hertz);
    v->block = std::move(block);
    NeedsResampler(*v, desc.hertz);
    *out = NewBuffer(std::move(v));
    return SB_OK;
}

int SoundBufferMixer::DuplicateBuffer(const SoundBufferPtr& source, SoundBufferPtr* out) {
    if (!out) return SB_ERR_INVALIDPARAM;
    out->reset();
    if (!source || &source->Mixer() != this) return SB_ERR_INVALIDPARAM;
    const SoundVoice& s = *source->Voice();
    if (s.block->directLocks) return SB_ERR_INVALIDCALL;
    auto v = std::make_unique<SoundVoice>();
    v->block = s.block;
    v->data = s.data;
    v->frames = s.frames;
    v->channels = s.channels;
    v->bits = s.bits;
    v->bytesPerFrame = s.bytesPerFrame;
    v->originalHertz = s.originalHertz;
    v->frequency = s.frequency;
    v->volume = s.volume;
    v->pan = s.pan;
    v->step = s.step;
    v->gainLeft = s.gainLeft;
    v->gainRight = s.gainRight;
    NeedsResampler(*v, v->frequency);
    *out = NewBuffer(std::move(v));
    return SB_OK;
}

void SoundBufferMixer::Activate(SoundVoice* v) {
    if (v->activeIndex >= 0) return;
    v->activeIndex = int(active_.size());
    active_.push_back(v);  // within capacity: never allocates
}

void SoundBufferMixer::Deactivate(SoundVoice* v) {
    const int i = v->activeIndex;
    if (i < 0) return;
    SoundVoice* last = active_.back();
    active_[std::size_t(i)] = last;
    last->activeIndex = i;
    active_.pop_back();
    v->activeIndex = -1;
}

void SoundBufferMixer::Release(SoundVoice* v) {
    {
        Guard g(*this);
        v->playing = false;
        Deactivate(v);
    }
    delete v;  // outside the lock; the block's last reference may go here
    --voiceCount_;
}

int SoundBufferMixer::PlayingCount() {
    Guard g(*this);
    return int(active_.size());
}

void SoundBufferMixer::Mix(std::int16_t* out, int frames) {
    float* acc = accumulator_.data();
    while (frames > 0) {
        const int n = std::min(frames, kBlockFrames);
        std::fill(acc, acc + 2 * n, 0.0f);
        for (std::size_t i = 0; i < active_.size();) {
            SoundVoice* v = active_[i];
            if (MixAny(*v, acc, n, converted_.data())) {
                ++i;
            } else {
                v->playing = false;
                Deactivate(v);  // the last voice moves into slot i
            }
        }
        // Many sounds at once stay clean: the bus is limited, not clipped.
        limiter_.Process(acc, n);
        std::uint64_t audible = 0;
        for (int k = 0; k < n; ++k) {
            out[2 * k] = ToSample(acc[2 * k]);
            out[2 * k + 1] = ToSample(acc[2 * k + 1]);
            audible += (out[2 * k] | out[2 * k + 1]) != 0;
        }
        out += 2 * n;
        frames -= n;
        framesMixed_.fetch_add(std::uint64_t(n), std::memory_order_release);
        if (audible) audibleFrames_.fetch_add(audible, std::memory_order_release);
    }
}

}  // namespace kestrel

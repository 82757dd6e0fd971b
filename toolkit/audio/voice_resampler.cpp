#include "toolkit/audio/voice_resampler.h"

#include <samplerate.h>

namespace kestrel {

namespace {
SRC_STATE* State(void* p) { return static_cast<SRC_STATE*>(p); }
}  // namespace

VoiceResampler::VoiceResampler(int channels)
    : channels_(channels), in_(new float[std::size_t(kChunkFrames) * std::size_t(channels)]()) {}

std::unique_ptr<VoiceResampler> VoiceResampler::Create(int channels) {
    std::unique_ptr<VoiceResampler> r(new VoiceResampler(channels));
    int error = 0;
    // The fastest of the band-limited converters: its pass band reaches 80 %
    // of the source's Nyquist frequency and it rejects images by over 90 dB.
    r->state_ = src_new(SRC_SINC_FASTEST, channels, &error);
    if (!r->state_) return nullptr;
    return r;
}

VoiceResampler::~VoiceResampler() {
    if (state_) src_delete(State(state_));
}

void VoiceResampler::Reset() {
    src_reset(State(state_));
    offset_ = pending_ = 0;
    last_ = drained_ = false;
}

void VoiceResampler::Feed(int frames, bool last) {
    offset_ = 0;
    pending_ = frames;
    last_ = last;
}

int VoiceResampler::Convert(float* out, int frames, double ratio, int* used) {
    *used = 0;
    if (drained_ || frames <= 0) return 0;
    SRC_DATA d{};
    d.data_in = in_.get() + std::size_t(offset_) * std::size_t(channels_);
    d.input_frames = pending_;
    d.data_out = out;
    d.output_frames = frames;
    d.end_of_input = last_ ? 1 : 0;
    d.src_ratio = ratio;
    if (src_process(State(state_), &d) != 0) {
        drained_ = true;
        return 0;
    }
    offset_ += int(d.input_frames_used);
    pending_ -= int(d.input_frames_used);
    *used = int(d.input_frames_used);
    if (last_ && pending_ == 0 && d.output_frames_gen == 0) drained_ = true;
    return int(d.output_frames_gen);
}

}  // namespace kestrel

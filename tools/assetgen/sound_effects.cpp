#include "sound_effects.h"

#include <cmath>

namespace assetgen {

using synth::Buffer;
using synth::kTau;

namespace {

Buffer Make(int rate, int channels, float seconds) {
    return Buffer(rate, channels, size_t(std::lround(seconds * rate)));
}

void Finish(Buffer& b, float peak) {
    synth::Normalize(b, peak);
    synth::FadeEdges(b, 0.0008f, 0.012f);
}

}  // namespace

Buffer MakeMoveTick() {
    Buffer b = Make(22050, 1, 0.18f);
    Rng rng(11);
    float phase = 0;
    synth::Svf hp;
    for (size_t i = 0; i < b.Frames(); ++i) {
        float t = float(i) / b.rate;
        float freq = 900.0f + 700.0f * std::exp(-t * 90.0f);
        phase += freq / b.rate;
        float tone = std::sin(kTau * phase) * std::exp(-t * 45.0f);
        hp.Run(rng.Signed(), 6000.0f, 0.7f, b.rate);
        float click = hp.high * std::exp(-t * 700.0f) * 0.8f;
        b.Add(i, tone + click);
    }
    Finish(b, 0.6f);
    return b;
}

Buffer MakeThrowWhoosh() {
    Buffer b = Make(22050, 1, 0.53f);
    Rng rng(12);
    synth::Svf f;
    float phase = 0;
    const float length = 0.53f;
    for (size_t i = 0; i < b.Frames(); ++i) {
        float t = float(i) / b.rate;
        float u = t / length;
        float centre = 350.0f + 3200.0f * u * u;
        f.Run(rng.Signed(), centre, 2.5f, b.rate);
        float env = std::sin(3.14159f * std::pow(u, 0.6f)) * (1.0f - u * 0.3f);
        phase += (220.0f + 660.0f * u) / b.rate;
        float tone = std::sin(kTau * phase) * 0.12f * env;
        b.Add(i, f.band * env * 1.4f + tone);
    }
    Finish(b, 0.7f);
    return b;
}

Buffer MakePickUp() {
    Buffer b = Make(44100, 2, 0.45f);
    // Two rising "bloops", the second higher, panned apart.
    struct Blip {
        float start, length, f0, f1, pan;
    };
    const Blip blips[] = {{0.0f, 0.16f, 260.0f, 620.0f, -0.3f}, {0.14f, 0.2f, 420.0f, 980.0f, 0.3f}};
    for (const Blip& blip : blips) {
        float phase = 0;
        size_t start = size_t(blip.start * b.rate), n = size_t((blip.length + 0.12f) * b.rate);
        for (size_t i = 0; i < n; ++i) {
            float t = float(i) / b.rate;
            float u = std::min(1.0f, t / blip.length);
            float freq = blip.f0 + (blip.f1 - blip.f0) * std::sqrt(u);
            phase += freq / b.rate;
            float env = std::min(1.0f, t * 200.0f) * std::exp(-t * 11.0f);
            float v = std::sin(kTau * phase) + 0.25f * std::sin(2 * kTau * phase);
            b.Add(start + i, v * env * 0.6f, blip.pan);
        }
    }
    Finish(b, 0.65f);
    return b;
}

Buffer MakePiecePop() {
    Buffer b = Make(44100, 2, 0.19f);
    Rng rng(14);
    float phase = 0;
    for (size_t i = 0; i < b.Frames(); ++i) {
        float t = float(i) / b.rate;
        float freq = 260.0f + 1100.0f * std::exp(-t * 45.0f);
        phase += freq / b.rate;
        float env = std::min(1.0f, t * 2000.0f) * std::exp(-t * 24.0f);
        float click = rng.Signed() * std::exp(-t * 900.0f) * 0.5f;
        float v = std::sin(kTau * phase) * env + click;
        b.Add(i, v * 0.9f, -0.1f);
        b.Add(i, v * 0.1f, 0.4f);
    }
    Finish(b, 0.7f);
    return b;
}

Buffer MakeVirusSquelch() {
    Buffer b = Make(44100, 2, 0.40f);
    Rng rng(15);
    synth::Svf fl, fr;
    float phase = 0;
    for (size_t i = 0; i < b.Frames(); ++i) {
        float t = float(i) / b.rate;
        float wobble = std::sin(kTau * 23.0f * t) * 0.5f + 0.5f;
        float freq = 210.0f * std::exp(-t * 3.0f) * (0.8f + 0.4f * wobble);
        phase += freq / b.rate;
        float body = synth::Saw(phase - std::floor(phase), freq / b.rate) * 0.7f + rng.Signed() * 0.5f;
        float cutoff = 300.0f + 2600.0f * std::exp(-t * 9.0f) * (0.4f + 0.6f * wobble);
        fl.Run(body, cutoff, 4.0f, b.rate);
        fr.Run(body, cutoff * 1.15f, 4.0f, b.rate);
        float env = std::min(1.0f, t * 150.0f) * std::exp(-t * 6.5f);
        b.data[i * 2] += fl.low * env;
        b.data[i * 2 + 1] += fr.low * env;
    }
    Finish(b, 0.75f);
    return b;
}

Buffer MakeFailTone() {
    Buffer b = Make(22050, 2, 1.72f);
    // Four falling notes, the last held with a slow vibrato ("wah wah wah waaah").
    const float notes[4] = {67, 66, 65, 64};
    const float starts[4] = {0.0f, 0.3f, 0.6f, 0.9f};
    const float lengths[4] = {0.28f, 0.28f, 0.28f, 0.72f};
    for (int k = 0; k < 4; ++k) {
        float phase = 0;
        synth::Svf f;
        size_t start = size_t(starts[k] * b.rate), n = size_t((lengths[k] + 0.1f) * b.rate);
        for (size_t i = 0; i < n; ++i) {
            float t = float(i) / b.rate;
            float bend = k == 3 ? -0.9f * std::min(1.0f, t / 0.7f) : -0.15f * t;
            float vib = k == 3 ? 0.25f * std::sin(kTau * 5.0f * t) : 0.0f;
            float freq = synth::MidiToHz(notes[k] - 12 + bend + vib);
            phase += freq / b.rate;
            if (phase >= 1) phase -= 1;
            float env = synth::Adsr(t, lengths[k], 0.02f, 0.1f, 0.8f, 0.1f);
            float wah = 500.0f + 1500.0f * std::sin(3.14159f * std::min(1.0f, t / lengths[k]));
            f.Run(synth::Saw(phase, freq / b.rate), wah, 2.5f, b.rate);
            b.Add(start + i, f.low * env * 0.8f, 0.0f);
        }
    }
    Finish(b, 0.7f);
    return b;
}

Buffer MakeMenuClick() {
    Buffer b = Make(44100, 2, 0.64f);
    Rng rng(17);
    synth::Svf hp;
    for (size_t i = 0; i < b.Frames(); ++i) {
        float t = float(i) / b.rate;
        hp.Run(rng.Signed(), 5000.0f, 0.7f, b.rate);
        float click = hp.high * std::exp(-t * 600.0f) * 0.9f;
        float snap = std::sin(kTau * 3100.0f * t) * std::exp(-t * 120.0f) * 0.5f;
        // A short bright chime rings after the click.
        float ring = (std::sin(kTau * 1568.0f * t) * 0.5f + std::sin(kTau * 2349.3f * t) * 0.35f +
                      std::sin(kTau * 3136.0f * t) * 0.15f) *
                     std::exp(-t * 8.0f) * std::min(1.0f, t * 400.0f) * 0.35f;
        b.Add(i, click + snap, 0.0f);
        b.Add(i, ring * 0.8f, -0.35f);
        b.Add(i, ring * 0.6f * std::cos(kTau * 4.0f * t), 0.35f);
    }
    Finish(b, 0.65f);
    return b;
}

}  // namespace assetgen

// A small synthesiser: oscillators, envelopes, filters and drum voices that
// render into floating-point sample buffers. Notes are written as events
// into a buffer; a looping track folds what rings past its end back onto
// its start, so the loop joins without a seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rng.h"

namespace assetgen::synth {

constexpr float kTau = 6.28318530718f;

// Stereo (or mono) buffer of float samples, interleaved.
struct Buffer {
    int rate = 44100;
    int channels = 2;
    std::vector<float> data;
    Buffer(int rate_, int channels_, size_t frames)
        : rate(rate_), channels(channels_), data(frames * size_t(channels_), 0.0f) {}
    size_t Frames() const { return data.size() / size_t(channels); }
    // Adds a sample at a frame, panned (-1 left .. +1 right) for stereo.
    void Add(size_t frame, float value, float pan = 0.0f);
};

float MidiToHz(float note);

// State-variable filter (Chamberlin), low-pass / band-pass / high-pass outputs.
struct Svf {
    float low = 0, band = 0, high = 0;
    void Run(float input, float cutoff_hz, float q, int rate);
};

// One-pole low-pass.
struct OnePole {
    float y = 0;
    float Run(float x, float cutoff_hz, int rate);
};

// Band-limited sawtooth and pulse (PolyBLEP).
float PolyBlep(float t, float dt);
float Saw(float phase, float dt);
float Pulse(float phase, float dt, float width);

// Attack / decay-to-sustain / release envelope over a note of `length` seconds.
float Adsr(float t, float length, float attack, float decay, float sustain, float release);

// Instruments. Each renders one note into `out` starting at `start` (frames).
struct Note {
    size_t start = 0;
    float seconds = 0.25f;  // how long the key is held
    float midi = 60;
    float velocity = 1.0f;
    float pan = 0.0f;
};
void Kick(Buffer& out, size_t start, float velocity);
void Snare(Buffer& out, size_t start, float velocity, Rng& rng);
void HiHat(Buffer& out, size_t start, float velocity, bool open, Rng& rng, float pan);
void Bass(Buffer& out, const Note& n, float brightness);
void Pluck(Buffer& out, const Note& n, float brightness);
void Lead(Buffer& out, const Note& n, float vibrato);
void Pad(Buffer& out, const Note& n, float brightness);
void Bell(Buffer& out, const Note& n);

// Folds everything past `frames` back onto the start and truncates: the
// result is one period of a seamless loop.
void FoldLoop(Buffer& buffer, size_t frames);
// A stereo feedback echo applied as if the buffer repeated for ever.
void LoopedEcho(Buffer& buffer, float seconds, float feedback, float mix);
// Takes the DC offset out of a loop: a gentle high-pass (about 8 Hz) run
// around the loop as if it repeated for ever, so that no slow drift is left,
// then the exact mean of each channel subtracted (only that, without the
// high-pass, when `mean_only`). The loop stays seamless.
void RemoveLoopDc(Buffer& buffer, bool mean_only = false);
// Scales the buffer so that its peak is `peak`, then soft-clips.
void Normalize(Buffer& buffer, float peak);
// Short linear fades at both ends (for one-shot sounds).
void FadeEdges(Buffer& buffer, float in_seconds, float out_seconds);

}  // namespace assetgen::synth

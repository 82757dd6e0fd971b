#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen::synth {

void Buffer::Add(size_t frame, float value, float pan) {
    if (frame >= Frames()) return;
    if (channels == 1) {
        data[frame] += value;
        return;
    }
    // Constant-power pan.
    float a = (pan + 1.0f) * 0.25f * 3.14159265f;
    data[frame * 2] += value * std::cos(a) * 1.41421356f;
    data[frame * 2 + 1] += value * std::sin(a) * 1.41421356f;
}

float MidiToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

void Svf::Run(float input, float cutoff_hz, float q, int rate) {
    // Two passes per sample (2x oversampling) keep the filter stable up to
    // a quarter of the sample rate.
    float f = 2.0f * std::sin(3.14159265f * std::min(cutoff_hz, rate * 0.25f) / (2.0f * rate));
    float damp = 1.0f / std::max(q, 0.5f);
    for (int pass = 0; pass < 2; ++pass) {
        low += f * band;
        high = input - low - damp * band;
        band += f * high;
    }
}

float OnePole::Run(float x, float cutoff_hz, int rate) {
    float a = 1.0f - std::exp(-kTau * cutoff_hz / rate);
    y += a * (x - y);
    return y;
}

float PolyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float Saw(float phase, float dt) { return 2.0f * phase - 1.0f - PolyBlep(phase, dt); }

float Pulse(float phase, float dt, float width) {
    float v = phase < width ? 1.0f : -1.0f;
    v += PolyBlep(phase, dt);
    float shifted = phase - width;
    if (shifted < 0) shifted += 1.0f;
    v -= PolyBlep(shifted, dt);
    return v;
}

float Adsr(float t, float length, float attack, float decay, float sustain, float release) {
    auto held = [&](float u) {
        if (u < attack) return u / attack;
        u -= attack;
        if (u < decay) return 1.0f + (sustain - 1.0f) * (u / decay);
        return sustain;
    };
    if (t < 0) return 0.0f;
    if (t < length) return held(t);
    float r = t - length;
    if (r >= release) return 0.0f;
    return held(length) * (1.0f - r / release);
}

void Kick(Buffer& out, size_t start, float velocity) {
    const int rate = out.rate;
    const size_t n = size_t(0.42f * rate);
    float phase = 0;
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / rate;
        float freq = 46.0f + 110.0f * std::exp(-t * 28.0f);
        phase += freq / rate;
        float env = std::exp(-t * 7.5f) * std::min(1.0f, t * 800.0f);
        float click = std::exp(-t * 300.0f) * 0.3f * std::min(1.0f, t * 2000.0f);
        out.Add(start + i, (std::sin(kTau * phase) * env + click) * velocity * 0.9f);
    }
}

void Snare(Buffer& out, size_t start, float velocity, Rng& rng) {
    const int rate = out.rate;
    const size_t n = size_t(0.3f * rate);
    Svf f;
    float phase = 0;
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / rate;
        f.Run(rng.Signed(), 3200.0f, 0.9f, rate);
        phase += (185.0f + 40 * std::exp(-t * 40)) / rate;
        float body = std::sin(kTau * phase) * std::exp(-t * 28.0f) * 0.5f;
        float noise = (f.band + f.high * 0.4f) * std::exp(-t * 16.0f) * 0.8f;
        float attack = std::min(1.0f, t * 1500.0f);
        out.Add(start + i, (body + noise) * attack * velocity * 0.6f);
    }
}

void HiHat(Buffer& out, size_t start, float velocity, bool open, Rng& rng, float pan) {
    const int rate = out.rate;
    const float decay = open ? 9.0f : 55.0f;
    const size_t n = size_t((open ? 0.45f : 0.09f) * rate);
    Svf f;
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / rate;
        f.Run(rng.Signed(), 8000.0f, 0.8f, rate);
        float env = std::exp(-t * decay) * std::min(1.0f, t * 3000.0f);
        out.Add(start + i, f.high * env * velocity * 0.22f, pan);
    }
}

void Bass(Buffer& out, const Note& n, float brightness) {
    const int rate = out.rate;
    const float freq = MidiToHz(n.midi), dt = freq / rate;
    const float release = 0.06f;
    const size_t count = size_t((n.seconds + release) * rate);
    float phase = 0, sub = 0;
    Svf f;
    for (size_t i = 0; i < count; ++i) {
        float t = float(i) / rate;
        float env = Adsr(t, n.seconds, 0.004f, 0.12f, 0.75f, release);
        float osc = Saw(phase, dt) * 0.6f + std::sin(kTau * sub) * 0.7f;
        float cutoff = 180.0f + brightness * (500.0f + 1600.0f * std::exp(-t * 14.0f));
        f.Run(osc, cutoff, 1.6f, rate);
        out.Add(n.start + i, f.low * env * n.velocity * 0.5f, n.pan);
        phase += dt;
        if (phase >= 1) phase -= 1;
        sub += dt;
        if (sub >= 1) sub -= 1;
    }
}

void Pluck(Buffer& out, const Note& n, float brightness) {
    const int rate = out.rate;
    const float freq = MidiToHz(n.midi), dt = freq / rate;
    const size_t count = size_t((n.seconds + 0.5f) * rate);
    float phase = 0.0f;
    Svf f;
    for (size_t i = 0; i < count; ++i) {
        float t = float(i) / rate;
        float env = std::exp(-t * 7.0f) * std::min(1.0f, t * 400.0f);
        if (t > n.seconds) env *= std::max(0.0f, 1.0f - (t - n.seconds) / 0.5f);
        float osc = Pulse(phase, dt, 0.3f) * 0.5f + Saw(phase, dt) * 0.4f;
        f.Run(osc, 500.0f + brightness * 5000.0f * std::exp(-t * 11.0f), 1.2f, rate);
        out.Add(n.start + i, f.low * env * n.velocity * 0.3f, n.pan);
        phase += dt;
        if (phase >= 1) phase -= 1;
    }
}

void Lead(Buffer& out, const Note& n, float vibrato) {
    const int rate = out.rate;
    const float base = MidiToHz(n.midi);
    const float release = 0.12f;
    const size_t count = size_t((n.seconds + release) * rate);
    float p1 = 0, p2 = 0.31f;
    Svf f;
    for (size_t i = 0; i < count; ++i) {
        float t = float(i) / rate;
        float vib = 1.0f + vibrato * 0.006f * std::sin(kTau * 5.5f * t) * std::min(1.0f, t * 3.0f);
        float freq = base * vib;
        float env = Adsr(t, n.seconds, 0.01f, 0.15f, 0.7f, release);
        float osc = Pulse(p1, freq / rate, 0.5f) * 0.4f + Saw(p2, freq * 1.004f / rate) * 0.35f;
        f.Run(osc, 1400.0f + 2200.0f * env, 1.0f, rate);
        out.Add(n.start + i, f.low * env * n.velocity * 0.26f, n.pan);
        p1 += freq / rate;
        if (p1 >= 1) p1 -= 1;
        p2 += freq * 1.004f / rate;
        if (p2 >= 1) p2 -= 1;
    }
}

void Pad(Buffer& out, const Note& n, float brightness) {
    const int rate = out.rate;
    const float base = MidiToHz(n.midi);
    const float release = 0.8f;
    const size_t count = size_t((n.seconds + release) * rate);
    const float detune[3] = {0.996f, 1.0f, 1.005f};
    float phase[3] = {0.0f, 0.33f, 0.67f};
    Svf f;
    for (size_t i = 0; i < count; ++i) {
        float t = float(i) / rate;
        float env = Adsr(t, n.seconds, 0.35f, 0.5f, 0.8f, release);
        float osc = 0;
        for (int k = 0; k < 3; ++k) {
            float dt = base * detune[k] / rate;
            osc += Saw(phase[k], dt);
            phase[k] += dt;
            if (phase[k] >= 1) phase[k] -= 1;
        }
        f.Run(osc, 400.0f + brightness * 1200.0f, 0.8f, rate);
        out.Add(n.start + i, f.low * env * n.velocity * 0.09f, n.pan);
    }
}

void Bell(Buffer& out, const Note& n) {
    const int rate = out.rate;
    const float freq = MidiToHz(n.midi);
    const size_t count = size_t((n.seconds + 1.5f) * rate);
    for (size_t i = 0; i < count; ++i) {
        float t = float(i) / rate;
        // Two-operator FM gives a soft metallic tone.
        float mod = std::sin(kTau * freq * 3.5f * t) * 1.6f * std::exp(-t * 5.0f);
        float env = std::exp(-t * 2.6f) * std::min(1.0f, t * 300.0f);
        float tail = std::min(1.0f, (float(count - i) / rate) / 0.3f);
        out.Add(n.start + i, std::sin(kTau * freq * t + mod) * env * tail * n.velocity * 0.28f, n.pan);
    }
}

void FoldLoop(Buffer& buffer, size_t frames) {
    const size_t ch = size_t(buffer.channels);
    for (size_t i = frames * ch; i < buffer.data.size(); ++i) buffer.data[i % (frames * ch)] += buffer.data[i];
    buffer.data.resize(frames * ch);
}

void LoopedEcho(Buffer& buffer, float seconds, float feedback, float mix) {
    const size_t frames = buffer.Frames();
    const size_t delay = size_t(seconds * buffer.rate);
    if (buffer.channels != 2 || delay == 0 || delay >= frames) return;
    // Ping-pong: the echo of the left channel returns on the right.
    std::vector<float> wet(buffer.data.size(), 0.0f);
    for (int pass = 0; pass < 8; ++pass) {
        for (size_t i = 0; i < frames; ++i) {
            size_t j = (i + frames - delay) % frames;
            float in_l = buffer.data[j * 2], in_r = buffer.data[j * 2 + 1];
            wet[i * 2] = in_r * 0.5f + feedback * wet[j * 2 + 1];
            wet[i * 2 + 1] = in_l * 0.5f + feedback * wet[j * 2];
        }
    }
    for (size_t i = 0; i < buffer.data.size(); ++i) buffer.data[i] += wet[i] * mix;
}

void RemoveLoopDc(Buffer& buffer, bool mean_only) {
    const size_t frames = buffer.Frames(), ch = size_t(buffer.channels);
    if (frames == 0) return;
    // One-pole DC blocker y[n] = x[n] - x[n-1] + r y[n-1]; two passes round
    // the loop settle its state, the second pass is kept.
    const double r = 1.0 - kTau * 8.0 / double(buffer.rate);
    for (size_t c = 0; c < ch; ++c) {
        double prev_x = buffer.data[(frames - 1) * ch + c], y = 0.0;
        std::vector<float> out(frames);
        for (size_t i = 0; i < frames; ++i) out[i] = buffer.data[i * ch + c];
        for (int pass = 0; pass < (mean_only ? 0 : 2); ++pass) {
            for (size_t i = 0; i < frames; ++i) {
                const double x = buffer.data[i * ch + c];
                y = x - prev_x + r * y;
                prev_x = x;
                out[i] = float(y);
            }
            prev_x = buffer.data[(frames - 1) * ch + c];
        }
        double sum = 0.0;
        for (float v : out) sum += v;
        const float mean = float(sum / double(frames));
        for (size_t i = 0; i < frames; ++i) buffer.data[i * ch + c] = out[i] - mean;
    }
}

void Normalize(Buffer& buffer, float peak) {
    float max = 1e-9f;
    for (float v : buffer.data) max = std::max(max, std::fabs(v));
    float gain = peak / max;
    for (float& v : buffer.data) {
        float x = v * gain;
        // Gentle soft clip above 0.8 so peaks round off.
        if (std::fabs(x) > 0.8f) x = std::copysign(0.8f + 0.2f * std::tanh((std::fabs(x) - 0.8f) / 0.2f), x);
        v = x;
    }
}

void FadeEdges(Buffer& buffer, float in_seconds, float out_seconds) {
    const size_t frames = buffer.Frames();
    const size_t fin = size_t(in_seconds * buffer.rate), fout = size_t(out_seconds * buffer.rate);
    for (size_t i = 0; i < frames; ++i) {
        float g = 1.0f;
        if (i < fin) g = float(i) / fin;
        if (i + fout >= frames) g = std::min(g, float(frames - 1 - i) / fout);
        for (int c = 0; c < buffer.channels; ++c) buffer.data[i * buffer.channels + c] *= g;
    }
}

}  // namespace assetgen::synth

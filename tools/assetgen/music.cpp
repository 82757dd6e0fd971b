#include "music.h"

#include <cmath>
#include <vector>

namespace assetgen {

using synth::Buffer;
using synth::Note;

namespace {

struct Chord {
    int root;  // MIDI note
    bool minor;
    int Tone(int index) const {
        // Chord tones stacked upward: root, third, fifth, root + 12, ...
        static const int major[3] = {0, 4, 7}, minor_[3] = {0, 3, 7};
        int octave = index >= 0 ? index / 3 : -((2 - index) / 3);
        int k = index - octave * 3;
        return root + octave * 12 + (minor ? minor_[k] : major[k]);
    }
};

struct Motif {
    std::vector<int> steps, tones, lengths;
};

// A track under construction: a dry and an echoed bus on a 16th-note grid.
struct Track {
    size_t step;  // frames per 16th note
    int bars;
    Buffer dry, wet;
    Rng rng;
    Track(size_t step_, int bars_, uint64_t seed)
        : step(step_), bars(bars_), dry(44100, 2, Frames() + 4 * 44100), wet(44100, 2, Frames() + 4 * 44100),
          rng(seed) {}
    size_t Frames() const { return step * 16 * size_t(bars); }
    size_t At(int bar, int s) const { return (size_t(bar) * 16 + size_t(s)) * step; }
    float Seconds(int steps) const { return float(steps * step) / 44100.0f; }

    void Melody(int bar, const Chord& c, const Motif& m, int octave_shift, float velocity, float vibrato,
                bool bell = false) {
        for (size_t i = 0; i < m.steps.size(); ++i) {
            Note n;
            n.start = At(bar, m.steps[i]);
            n.seconds = Seconds(m.lengths[i]) * 0.92f;
            n.midi = float(c.Tone(m.tones[i]) + octave_shift);
            n.velocity = velocity;
            n.pan = 0.1f;
            if (bell)
                synth::Bell(wet, n);
            else
                synth::Lead(wet, n, vibrato);
        }
    }

    Buffer Mix(float echo_seconds, float feedback, float echo_mix) {
        size_t frames = Frames();
        synth::FoldLoop(dry, frames);
        synth::FoldLoop(wet, frames);
        synth::LoopedEcho(wet, echo_seconds, feedback, echo_mix);
        Buffer out(44100, 2, frames);
        for (size_t i = 0; i < out.data.size(); ++i) out.data[i] = dry.data[i] + wet.data[i];
        // Without this the kicks and basses leave the loop off centre, and
        // stopping the music is a step (a click) of that offset.
        synth::RemoveLoopDc(out);
        synth::Normalize(out, 0.86f);
        // The soft clip of uneven peaks shifts the mean a little again.
        synth::RemoveLoopDc(out, true);
        return out;
    }
};

}  // namespace

Buffer MakeMenuMusic() {
    // C major, about 135 beats a minute, 32 bars: C Am F G.
    Track t(4910, 32, 101);
    const Chord chords[4] = {{48, false}, {45, true}, {41, false}, {43, false}};
    const Motif a{{0, 2, 4, 6, 7, 10, 12}, {2, 3, 4, 3, 2, 1, 2}, {2, 2, 2, 1, 3, 2, 4}};
    const Motif a2{{0, 2, 4, 6, 8, 12}, {2, 3, 4, 5, 4, 3}, {2, 2, 2, 2, 4, 4}};
    const Motif b{{0, 3, 6, 8, 10, 12, 14}, {4, 3, 2, 3, 4, 5, 4}, {3, 3, 2, 2, 2, 2, 2}};
    const Motif b2{{0, 3, 6, 8, 12}, {5, 4, 3, 2, 1}, {3, 3, 2, 4, 4}};
    for (int bar = 0; bar < t.bars; ++bar) {
        const Chord& c = chords[bar % 4];
        const int section = bar / 8;
        // Bass: root on the beat, octave bounce on the off-beat.
        for (int s = 0; s < 16; s += 2) {
            Note n{t.At(bar, s), t.Seconds(1) * 0.9f, float(c.root - 12 + ((s / 2) % 2 ? 12 : 0)), 0.9f, 0.0f};
            synth::Bass(t.dry, n, 0.5f);
        }
        // Plucked arpeggio in eighths, up and down the chord.
        static const int arp[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int s = 0; s < 16; s += 2) {
            Note n{t.At(bar, s), t.Seconds(2), float(c.Tone(arp[s / 2]) + 12), 0.7f, (s % 4 ? 0.35f : -0.35f)};
            synth::Pluck(t.wet, n, 0.6f);
        }
        // Drums: kick on one and three, snare from the second section, hats on eighths.
        synth::Kick(t.dry, t.At(bar, 0), 0.9f);
        synth::Kick(t.dry, t.At(bar, 8), 0.8f);
        if (section >= 1) {
            synth::Snare(t.dry, t.At(bar, 4), 0.7f, t.rng);
            synth::Snare(t.dry, t.At(bar, 12), 0.7f, t.rng);
        }
        if (section == 3 && bar % 2 == 1) synth::Kick(t.dry, t.At(bar, 14), 0.6f);
        for (int s = 0; s < 16; s += 2) synth::HiHat(t.dry, t.At(bar, s + 1), 0.7f, false, t.rng, 0.3f);
        // Melody: none in the first section, then two tunes.
        if (section == 1 || section == 3) t.Melody(bar, c, bar % 2 ? a2 : a, 24, 0.9f, 0.6f);
        if (section == 2) t.Melody(bar, c, bar % 2 ? b2 : b, 24, 0.9f, 0.6f);
        if (section == 3 && bar % 4 == 0) {
            Note n{t.At(bar, 0), t.Seconds(8), float(c.Tone(3) + 24), 0.5f, -0.4f};
            synth::Bell(t.wet, n);
        }
    }
    return t.Mix(float(3 * 4910) / 44100.0f, 0.3f, 0.3f);
}

Buffer MakePlayMusic() {
    // A minor, about 143 beats a minute, 40 bars: Am F C G.
    Track t(4617, 40, 202);
    const Chord chords[4] = {{45, true}, {41, false}, {48, false}, {43, false}};
    const Motif c1{{0, 3, 6, 8, 10, 11, 12, 14}, {3, 2, 3, 4, 3, 2, 1, 2}, {3, 3, 2, 2, 1, 1, 2, 2}};
    const Motif c2{{0, 2, 4, 6, 8, 12}, {4, 3, 2, 1, 2, 0}, {2, 2, 2, 2, 4, 4}};
    const Motif d1{{0, 2, 3, 6, 8, 10, 12, 14}, {5, 4, 3, 4, 5, 6, 5, 4}, {2, 1, 3, 2, 2, 2, 2, 2}};
    for (int bar = 0; bar < t.bars; ++bar) {
        const Chord& c = chords[bar % 4];
        const int section = bar / 8;  // 0 build, 1-2 tune, 3 break, 4 tune
        const bool breakdown = section == 3;
        // Driving bass in sixteenths with an octave on every fourth.
        for (int s = 0; s < 16; ++s) {
            if (breakdown && s % 4) continue;
            Note n{t.At(bar, s), t.Seconds(1) * 0.7f, float(c.root - 12 + (s % 4 == 2 ? 12 : 0)),
                   s % 4 == 0 ? 1.0f : 0.75f, 0.0f};
            synth::Bass(t.dry, n, 0.8f);
        }
        static const int arp[16] = {0, 1, 2, 3, 1, 2, 3, 4, 2, 3, 4, 5, 3, 2, 1, 0};
        for (int s = 0; s < 16; ++s) {
            Note n{t.At(bar, s), t.Seconds(1), float(c.Tone(arp[s]) + 12), 0.55f, (s % 2 ? 0.45f : -0.45f)};
            synth::Pluck(t.wet, n, breakdown ? 0.3f : 0.85f);
        }
        Note pad{t.At(bar, 0), t.Seconds(16) * 0.95f, 0, breakdown ? 1.0f : 0.6f, 0};
        for (int k = 0; k < 3; ++k) {
            pad.midi = float(c.Tone(k) + 12);
            pad.pan = -0.5f + 0.5f * k;
            synth::Pad(t.dry, pad, breakdown ? 0.8f : 0.4f);
        }
        if (!breakdown) {
            for (int s = 0; s < 16; s += 4) synth::Kick(t.dry, t.At(bar, s), 1.0f);
            synth::Snare(t.dry, t.At(bar, 4), 0.8f, t.rng);
            synth::Snare(t.dry, t.At(bar, 12), 0.8f, t.rng);
            if (bar % 4 == 3) {
                synth::Snare(t.dry, t.At(bar, 14), 0.5f, t.rng);
                synth::Snare(t.dry, t.At(bar, 15), 0.6f, t.rng);
            }
            for (int s = 0; s < 16; ++s)
                synth::HiHat(t.dry, t.At(bar, s), s % 4 == 2 ? 0.9f : 0.5f, s % 8 == 6, t.rng, 0.25f);
        } else {
            synth::Kick(t.dry, t.At(bar, 0), 0.8f);
            for (int s = 2; s < 16; s += 4) synth::HiHat(t.dry, t.At(bar, s), 0.6f, false, t.rng, 0.25f);
        }
        if (section == 1 || section == 2) t.Melody(bar, c, bar % 2 ? c2 : c1, 24, 0.85f, 0.5f);
        if (section == 4) t.Melody(bar, c, bar % 2 ? c2 : d1, 24, 0.9f, 0.5f);
    }
    return t.Mix(float(3 * 4617) / 44100.0f, 0.28f, 0.25f);
}

Buffer MakeGameOverMusic() {
    // D minor, 90 beats a minute, 24 bars: Dm Bb Gm A.
    Track t(7350, 24, 303);
    const Chord chords[4] = {{50, true}, {46, false}, {43, true}, {45, false}};
    const Motif e1{{0, 6, 8, 12}, {2, 1, 0, 1}, {6, 2, 4, 4}};
    const Motif e2{{0, 4, 8, 10, 12}, {3, 2, 1, 2, 0}, {4, 4, 2, 2, 4}};
    for (int bar = 0; bar < t.bars; ++bar) {
        const Chord& c = chords[bar % 4];
        const int section = bar / 8;
        Note pad{t.At(bar, 0), t.Seconds(16) * 0.98f, 0, 0.9f, 0};
        for (int k = 0; k < 4; ++k) {
            pad.midi = float(c.Tone(k) + 12);
            pad.pan = -0.6f + 0.4f * k;
            synth::Pad(t.dry, pad, 0.5f);
        }
        for (int s : {0, 8, 14}) {
            Note n{t.At(bar, s), t.Seconds(s == 14 ? 2 : 6), float(c.root - 12 + (s == 14 ? 7 : 0)), 0.8f, 0};
            synth::Bass(t.dry, n, 0.25f);
        }
        if (section >= 1) {
            synth::Kick(t.dry, t.At(bar, 0), 0.75f);
            synth::Kick(t.dry, t.At(bar, 6), 0.45f);
            synth::Snare(t.dry, t.At(bar, 8), 0.5f, t.rng);
            for (int s = 0; s < 16; s += 2) synth::HiHat(t.dry, t.At(bar, s + 1), 0.4f, false, t.rng, 0.3f);
        }
        t.Melody(bar, c, bar % 2 ? e2 : e1, 24, 0.8f, 0.0f, true);
        if (section == 2) t.Melody(bar, c, bar % 2 ? e1 : e2, 12, 0.55f, 0.8f);
    }
    return t.Mix(float(6 * 7350) / 44100.0f, 0.35f, 0.35f);
}

}  // namespace assetgen

// The sound-buffer service's loud moments and frequency conversion, mixed
// offline as the game plays them (every sound at its channel volume, the
// play music at 0.75 underneath), printed as "figure <name> <value>" lines:
//   - one clear of four plain cells and one of eight (four viruses), each
//     cell its own copy of the burst sound started in the same update: the
//     half second around it, its peak and clipped samples;
//   - a 15-minute play session (moves, throws, pick-ups, clears of 4 to 8
//     cells every few seconds, chains): clipped samples and clip events;
//   - the game's 22050 Hz effects alone at the 44100 Hz output: the
//     strongest spectral line above the source's Nyquist frequency against
//     the strongest below it (images of an unfiltered conversion).
// With an output directory, the clear and the session are also written as
// raw S16LE stereo 44100 Hz files, for sox.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/sample_format.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/audio/sound_buffer_mixer.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/resources/stream.h"

using namespace kestrel;

namespace {

constexpr int kRate = 44100;

struct Sound {
    int channels = 1, hertz = 0;
    std::vector<std::int16_t> pcm;
};

Sound Load(const std::string& path) {
    Sound s;
    TAudioSamplePtr a = LoadAudioSample(path);
    if (!a) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        std::exit(1);
    }
    if (a->format != SF_MONO16LE && a->format != SF_STEREO16LE) a = a->Convert(SF_STEREO16LE);
    s.channels = a->format == SF_MONO16LE ? 1 : 2;
    s.hertz = a->hertz;
    const auto* p = reinterpret_cast<const std::int16_t*>(a->samples);
    s.pcm.assign(p, p + std::size_t(a->length) * std::size_t(s.channels));
    return s;
}

SoundBufferPtr Buffer(SoundBufferMixer& m, const Sound& s) {
    SoundBufferDesc d;
    d.channels = s.channels;
    d.hertz = s.hertz;
    d.bitsPerSample = 16;
    d.bytes = int(s.pcm.size() * 2);
    SoundBufferPtr b;
    m.CreateBuffer(d, &b);
    void* p;
    int n;
    b->Lock(0, 0, &p, &n, nullptr, nullptr, SB_LOCK_ENTIREBUFFER);
    std::memcpy(p, s.pcm.data(), std::size_t(n));
    b->Unlock(p, n, nullptr, 0);
    return b;
}

// A new voice of a sound, as the game's PlaySound starts one.
void Play(SoundBufferMixer& m, std::vector<SoundBufferPtr>& live, const Sound& s, int centibels = 0,
          bool loop = false) {
    auto b = Buffer(m, s);
    b->SetVolume(centibels);
    b->Play(loop ? SB_PLAY_LOOPING : 0);
    live.push_back(b);
    if (live.size() > 256) live.erase(live.begin());
}

struct Clips {
    long samples = 0, events = 0;
    int peak = 0;
    bool inEvent = false;
    void Add(const std::int16_t* lr, int frames) {
        for (int i = 0; i < frames; ++i) {
            bool clipped = false;
            for (int c = 0; c < 2; ++c) {
                const int v = lr[2 * i + c];
                peak = std::max(peak, std::abs(v));
                if (v >= 32767 || v <= -32767) {
                    ++samples;
                    clipped = true;
                }
            }
            if (clipped && !inEvent) ++events;
            inEvent = clipped;
        }
    }
};

double Dbfs(int peak) { return 20 * std::log10(std::max(peak, 1) / 32768.0); }

// The strongest line above `nyquist` against the strongest below it, in dB,
// over Hann-windowed 4096-frame DFTs of the left channel.
double ImageLevel(const std::vector<std::int16_t>& lr, double nyquist) {
    constexpr int kN = 4096;
    const double pi = std::acos(-1.0);
    std::vector<double> win(kN), cosT(kN), sinT(kN);
    for (int i = 0; i < kN; ++i) {
        win[std::size_t(i)] = 0.5 - 0.5 * std::cos(2 * pi * i / kN);
        cosT[std::size_t(i)] = std::cos(2 * pi * i / kN);
        sinT[std::size_t(i)] = std::sin(2 * pi * i / kN);
    }
    const int frames = int(lr.size() / 2);
    double below = 1e-30, above = 1e-30;
    std::vector<double> x(kN);
    for (int start = 0; start + kN <= frames; start += kN / 2) {
        for (int i = 0; i < kN; ++i) x[std::size_t(i)] = lr[std::size_t(2 * (start + i))] * win[std::size_t(i)];
        for (int k = 1; k < kN / 2; ++k) {
            const double hz = double(k) * kRate / kN;
            if (std::fabs(hz - nyquist) < 300) continue;  // the converter's own transition band
            double re = 0, im = 0;
            for (int i = 0, idx = 0; i < kN; ++i, idx = (idx + k) & (kN - 1)) {
                re += x[std::size_t(i)] * cosT[std::size_t(idx)];
                im -= x[std::size_t(i)] * sinT[std::size_t(idx)];
            }
            const double p = re * re + im * im;
            if (hz < nyquist) below = std::max(below, p);
            else above = std::max(above, p);
        }
    }
    return 10 * std::log10(above / below);
}

std::vector<std::int16_t> MixFor(SoundBufferMixer& m, int frames) {
    std::vector<std::int16_t> out(std::size_t(frames) * 2);
    for (int done = 0; done < frames; done += 512) m.Mix(out.data() + 2 * done, std::min(512, frames - done));
    return out;
}

void Write(const std::string& dir, const std::string& name, const std::vector<std::int16_t>& lr) {
    if (dir.empty()) return;
    std::ofstream f(dir + "/" + name, std::ios::binary);
    f.write(reinterpret_cast<const char*>(lr.data()), std::streamsize(lr.size() * 2));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mix_quality_bench SFX_DIR [OUT_DIR]\n");
        return 2;
    }
    const std::string sfx = argv[1], outDir = argc > 2 ? argv[2] : "";
    InitWavLoader();
    InitOggLoader();
    std::map<std::string, Sound> s;
    for (const char* n : {"mover", "lanza", "recoge", "pastilla", "bixo", "fallo", "click"})
        s[n] = Load(sfx + "/" + n + ".wav");
    s["ingame"] = Load(sfx + "/ingame.ogg");
    const int music = -250;  // channel volume 0.75

    // One clear of four plain cells, then one of eight with four viruses,
    // over the play music.
    for (int cells : {4, 8}) {
        auto m = SoundBufferMixer::Create();
        std::vector<SoundBufferPtr> live;
        Play(*m, live, s["ingame"], music, true);
        MixFor(*m, kRate);  // a second of music first
        for (int i = 0; i < cells; ++i) Play(*m, live, s[cells == 8 && i % 2 ? "bixo" : "pastilla"]);
        const auto out = MixFor(*m, kRate / 2);
        Clips c;
        c.Add(out.data(), kRate / 2);
        const std::string key = "clear" + std::to_string(cells);
        std::printf("figure %s_clipped_samples %ld\n", key.c_str(), c.samples);
        std::printf("figure %s_peak_dbfs %.2f\n", key.c_str(), Dbfs(c.peak));
        Write(outDir, key + ".raw", out);
    }

    // A 15-minute session: the music throughout; a move every 0.4 to 1.2 s,
    // pick-ups and throws, a clear of 4 to 8 cells every 4 to 12 s, now and
    // then a chain link 11 frames later.
    {
        auto m = SoundBufferMixer::Create();
        std::vector<SoundBufferPtr> live;
        Play(*m, live, s["ingame"], music, true);
        std::mt19937 rng(2026);
        auto between = [&](double a, double b) { return int((a + (b - a) * (rng() / 4294967296.0)) * kRate); };
        const int total = 15 * 60 * kRate;
        int nextMove = between(0.4, 1.2), nextThrow = between(2, 5), nextClear = between(4, 12), chain = -1;
        Clips c;
        std::vector<std::int16_t> all;
        all.reserve(std::size_t(total) * 2);
        std::vector<std::int16_t> block(512 * 2);
        for (int t = 0; t < total; t += 512) {
            if (t >= nextMove) { Play(*m, live, s["mover"]); nextMove = t + between(0.4, 1.2); }
            if (t >= nextThrow) {
                Play(*m, live, s["recoge"]);
                Play(*m, live, s["lanza"]);
                nextThrow = t + between(2, 5);
            }
            if (t >= nextClear || (chain >= 0 && t >= chain)) {
                const int cells = 4 + int(rng() % 5), viruses = int(rng() % 3);
                for (int i = 0; i < cells; ++i) Play(*m, live, s[i < viruses ? "bixo" : "pastilla"]);
                chain = chain < 0 && rng() % 4 == 0 ? t + kRate * 11 / 60 + kRate / 6 : -1;
                if (t >= nextClear) nextClear = t + between(4, 12);
            }
            m->Mix(block.data(), 512);
            c.Add(block.data(), 512);
            all.insert(all.end(), block.begin(), block.end());
        }
        std::printf("figure session_clipped_samples %ld\n", c.samples);
        std::printf("figure session_clip_events %ld\n", c.events);
        std::printf("figure session_peak_dbfs %.2f\n", Dbfs(c.peak));
        Write(outDir, "session.raw", all);
    }

    // The 22050 Hz effects alone: images above 11025 Hz.
    double worst = -1000;
    for (const char* n : {"mover", "lanza", "fallo"}) {
        auto m = SoundBufferMixer::Create();
        std::vector<SoundBufferPtr> live;
        const Sound& snd = s[n];
        Play(*m, live, snd);
        const int frames = int(snd.pcm.size() / std::size_t(snd.channels)) * kRate / snd.hertz + 4096;
        const auto out = MixFor(*m, frames);
        const double level = ImageLevel(out, snd.hertz / 2.0);
        std::printf("figure image_above_nyquist_db_%s %.1f\n", n, level);
        worst = std::max(worst, level);
    }
    std::printf("figure image_above_nyquist_db_worst %.1f\n", worst);
    return 0;
}

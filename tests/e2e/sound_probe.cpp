// Measures a recording of the game's sound (raw signed 16-bit stereo,
// 44100 Hz): whether the title music is audible before a key press, and
// whether the click sound is heard at the press.
//
//   sound_probe RECORDING.raw CLICK.raw PRESS_SECONDS
//
// The music: its RMS over the 3 s before the press is at least 1000 (about
// -30 dB of full scale). The click: the recording is matched against the
// click's first 100 ms (normalised cross-correlation, mono); the best match
// from 0.3 s before to 1.5 s after the press must reach 0.2 and twice the
// best match over the music alone (the 3 s before). Exit code 0 when both
// hold, 1 when not, 2 on bad input.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kRate = 44100;

std::vector<float> ReadMono(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> mono(bytes.size() / 4);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        std::int16_t l = 0, r = 0;
        std::copy_n(bytes.data() + i * 4, 2, reinterpret_cast<char*>(&l));
        std::copy_n(bytes.data() + i * 4 + 2, 2, reinterpret_cast<char*>(&r));
        mono[i] = (float(l) + float(r)) / 2.0f;
    }
    return mono;
}

double Rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

// The best normalised cross-correlation of the template against the
// recording at offsets [from, to).
double BestMatch(const std::vector<float>& x, const std::vector<float>& t, std::size_t from,
                 std::size_t to) {
    double tt = 0;
    for (float v : t) tt += double(v) * v;
    double best = 0;
    to = std::min(to, x.size() - t.size());
    for (std::size_t at = from; at < to; ++at) {
        double xt = 0, xx = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            xt += double(x[at + k]) * t[k];
            xx += double(x[at + k]) * x[at + k];
        }
        if (xx > 0) best = std::max(best, xt / std::sqrt(xx * tt));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RECORDING.raw CLICK.raw PRESS_SECONDS\n", argv[0]);
        return 2;
    }
    const std::vector<float> rec = ReadMono(argv[1]);
    std::vector<float> click = ReadMono(argv[2]);
    const double press = std::atof(argv[3]);
    click.resize(std::min<std::size_t>(click.size(), kRate / 10));
    const auto at = [](double seconds) { return std::size_t(std::max(0.0, seconds) * kRate); };
    if (click.empty() || press < 3.5 || rec.size() < at(press + 1.5) + click.size()) {
        std::fprintf(stderr, "recording of %.2f s too short for a press at %.2f s\n",
                     double(rec.size()) / kRate, press);
        return 2;
    }
    const double music = Rms(rec, at(press - 3.5), at(press - 0.5));
    const double before = BestMatch(rec, click, at(press - 3.5), at(press - 0.5));
    const double after = BestMatch(rec, click, at(press - 0.3), at(press + 1.5));
    std::printf("title music RMS %.0f (%.1f dB of full scale); click match %.3f at the press, "
                "%.3f over the music alone\n",
                music, 20 * std::log10(music / 32768.0), after, before);
    const bool audible = music >= 1000.0;
    const bool clicked = after >= 0.2 && after >= 2 * before;
    if (!audible) std::printf("FAIL: the title music is not audible\n");
    if (!clicked) std::printf("FAIL: no click heard at the key press\n");
    return audible && clicked ? 0 : 1;
}

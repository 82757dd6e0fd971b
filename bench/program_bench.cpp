// The program's start-up (registration to the first frame, with the
// question answered at once) and the CPU of one frame of a two-player game,
// measured through the replay harness on the real program body.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "game/globals.h"
#include "game/program.h"
#include "toolkit/core/app_entry.h"
#include "tools/replay/replay.h"

namespace {

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void Body() {
    using Clock = std::chrono::steady_clock;
    virexo::replay::Script script;
    script.seed = 3;
    script.clipUnshot = false;  // every frame drawn in full
    virexo::replay::Harness harness;
    const auto t0 = Clock::now();
    std::string why;
    if (!harness.Start(script, &why)) {
        std::fprintf(stderr, "program_bench: no display: %s\n", why.c_str());
        std::exit(1);
    }
    // The harness then waits for the window's focus; that wait is not the
    // program's, so the first frame is timed on its own and added.
    const auto f0 = Clock::now();
    harness.Step();
    const double firstFrameMs = Ms(f0, Clock::now());
    const auto& t = virexo::tiemposarranque();
    std::printf("start-up, entry to first Flip: %.1f ms\n", Ms(t0, t.fondo) + firstFrameMs);
    std::printf("start-up, display open to first Flip: %.1f ms\n", Ms(t.pantalla, t.fondo) + firstFrameMs);
    std::printf("  before the display (registration, modules, question, opening): %.1f ms\n",
                Ms(t0, t.pantalla));
    std::printf("  assets (font, sounds, music, images): %.1f ms\n", Ms(t.pantalla, t.recursos));
    std::printf("  backdrop (1022 ovals drawn and grabbed): %.1f ms\n", Ms(t.recursos, t.fondo));
    std::printf("  first frame: %.1f ms\n", firstFrameMs);
    harness.Press(113);  // F2: two players
    harness.Step();
    harness.Press(112);  // F1: mild
    harness.Step();
    while (virexo::estado != "juego") harness.Step();
    const int frames = 300;
    double update = 0;
    const double c0 = CpuMs();
    for (int i = 0; i < frames && virexo::estado == "juego"; ++i) {
        const double u0 = CpuMs();
        harness.Step();
        update += CpuMs() - u0;
    }
    const double total = CpuMs() - c0;
    std::printf("two-player frame (update + draw + flip), process CPU incl. the software renderer threads: %.2f ms per frame\n",
                update / frames);
    (void)total;
}

}  // namespace

int main(int argc, char** argv) { return kestrel::RunApplication(argc, argv, Body); }

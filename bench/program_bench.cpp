// The program's start-up (registration to the first frame, with the
// question answered at once, split into its phases) and the CPU of one frame
// of a two-player game with full boards, on the real program body started
// through the replay harness.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "game/globals.h"
#include "game/program.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/list.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/core/app_entry.h"
#include "toolkit/system/keys.h"
#include "tools/replay/replay.h"

namespace {

double CpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
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
    const double cpu0 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
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
    const double startCpuMs = CpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0;
    const auto& t = virexo::tiemposarranque();
    std::printf("start-up, entry to first Flip: %.1f ms\n", Ms(t0, t.fondo) + firstFrameMs);
    std::printf("start-up, display open to first Flip: %.1f ms\n", Ms(t.pantalla, t.fondo) + firstFrameMs);
    std::printf("  before the display (registration, modules, question, opening): %.1f ms\n",
                Ms(t0, t.pantalla));
    std::printf("  assets (font, sounds, music, images): %.1f ms\n", Ms(t.pantalla, t.recursos));
    std::printf("  backdrop (glow picture computed, images made): %.1f ms\n", Ms(t.recursos, t.fondo));
    std::printf("  first frame: %.1f ms\n", firstFrameMs);
    std::printf("  main thread CPU from entry to first Flip (the software renderer's own threads and\n"
                "  the music threads not counted): %.1f ms\n", startCpuMs);
    harness.Press(kestrel::KEY_F2);  // F2: two players
    harness.Step();
    harness.Press(kestrel::KEY_F1);  // F1: mild
    harness.Step();
    while (virexo::estado != "juego") harness.Step();
    // Full boards: rows pushed in until twelve of the sixteen are taken.
    for (const auto& board : virexo::tableros)
        for (int i = 0; i < 7 && virexo::estado == "juego"; ++i) board->ponlinea();
    std::size_t pieces = 0;
    for (const auto& board : virexo::tableros) pieces += board->fichas->Count();

    const int frames = 300;
    double updateDraw = 0, flip = 0;
    int measured = 0;
    const double p0 = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < frames && virexo::estado == "juego"; ++i, ++measured) {
        const double u0 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        virexo::actualizaydibuja();
        const double u1 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        kestrel::Flip(0);
        flip += CpuMs(CLOCK_THREAD_CPUTIME_ID) - u1;
        updateDraw += u1 - u0;
    }
    const double process = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - p0;
    std::printf("two-player game, %zu pieces on the boards, %d frames:\n", pieces, measured);
    std::printf("  update + draw submission, main thread CPU: %.3f ms per frame\n", updateDraw / measured);
    std::printf("  flip, main thread CPU: %.3f ms per frame\n", flip / measured);
    std::printf("  whole process CPU incl. the software renderer's threads: %.2f ms per frame\n",
                process / measured);
    std::printf("figure startup_ms %.1f\n", Ms(t.pantalla, t.fondo) + firstFrameMs);
    std::printf("figure startup_backdrop_ms %.1f\n", Ms(t.recursos, t.fondo));
    std::printf("figure startup_assets_ms %.1f\n", Ms(t.pantalla, t.recursos));
    std::printf("figure startup_main_cpu_ms %.1f\n", startCpuMs);
    std::printf("figure frame_cpu_ms %.3f\n", updateDraw / measured);
}

}  // namespace

int main(int argc, char** argv) { return kestrel::RunApplication(argc, argv, Body); }

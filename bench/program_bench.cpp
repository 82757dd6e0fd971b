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
    // Includes the harness's wait for the window's focus (up to a few
    // hundred ms on X), so it is an upper bound of the program's own start-up.
    const double startupMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
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
    std::printf("start-up to first frame, incl. the harness focus wait: %.1f ms (wall)\n", startupMs);
    std::printf("two-player frame (update + draw + flip), process CPU incl. the software renderer threads: %.2f ms per frame\n",
                update / frames);
    (void)total;
}

}  // namespace

int main(int argc, char** argv) { return kestrel::RunApplication(argc, argv, Body); }

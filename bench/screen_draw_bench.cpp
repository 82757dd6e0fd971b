// Drawn frames a second of every screen of the game on this machine's
// OpenGL: the real program started through the replay harness (real assets,
// real display), each screen brought up, then N redraws each followed by an
// immediate swap (Flip(0): no pacing sleep). Between two redraws only the
// backdrop moves and the frame counter advances, as an update would do for
// the picture, so the screen stays the same while it is timed.
// Prints "figure fps_<screen> <value>" and the median and 95th percentile of
// the frame interval of each screen, with the main thread's CPU time spent
// in the drawing calls (the software renderer's threads fill the pixels). With --parts, each screen is also timed
// in parts: the clear alone, the clear and the backdrop, the clear and the
// screen's own drawing without the backdrop.
//   screen_draw_bench [--parts] [FRAMES] [SCREEN...]   (default 180 frames, every screen)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "game/backdrop.h"
#include "game/globals.h"
#include "game/program.h"
#include "game/screen_flow.h"
#include "game/screens.h"
#include "game/tablero.h"
#include "toolkit/core/app_entry.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "tools/replay/replay.h"

namespace {

constexpr int kEscape = 27, kSpace = 32, kF1 = 112, kF2 = 113, kF3 = 114;

int g_frames = 180;
bool g_parts = false;
std::set<std::string> g_only;
virexo::replay::Harness g_harness;
double g_worstFps = 1e9;

void Frames(int n) {
    for (int i = 0; i < n; ++i) g_harness.Step();
}

void Key(int key, int framesAfter = 2) {
    g_harness.Press(key);
    Frames(framesAfter);
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

enum class Part { Whole, Clear, Backdrop, Screen };

void Draw(Part part) {
    switch (part) {
        case Part::Whole: virexo::dibuja(); break;
        case Part::Clear: kestrel::Cls(); break;
        case Part::Backdrop:
            kestrel::Cls();
            virexo::dibujafondo();
            break;
        case Part::Screen:
            kestrel::Cls();
            kestrel::SetBlend(kestrel::ALPHABLEND);  // as the backdrop leaves it
            virexo::dibujapantalla(virexo::estado);
            break;
    }
}

// Times g_frames redraws + swaps of the current screen (or of a part of its
// drawing) under `name`.
void MeasurePart(const std::string& name, Part part) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 5; ++i) {  // warm-up: textures made, caches filled
        Draw(part);
        kestrel::Flip(0);
    }
    std::vector<double> intervals;
    intervals.reserve(std::size_t(g_frames));
    double submit = 0;  // main thread CPU of the drawing calls
    const auto start = Clock::now();
    auto last = start;
    for (int i = 0; i < g_frames; ++i) {
        virexo::muevefondo();
        virexo::fotograma += 1.0f;
        const double c0 = ThreadCpuMs();
        Draw(part);
        submit += ThreadCpuMs() - c0;
        kestrel::Flip(0);
        const auto now = Clock::now();
        intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    const double seconds = std::chrono::duration<double>(last - start).count();
    const double fps = g_frames / seconds;
    if (part == Part::Whole) g_worstFps = std::min(g_worstFps, fps);
    std::printf("%-12s (%s) %6.1f fps  interval median %6.2f ms  p95 %6.2f ms  submission %.2f ms\n",
                name.c_str(), virexo::estado.c_str(), fps, Percentile(intervals, 0.5),
                Percentile(intervals, 0.95), submit / g_frames);
    std::printf("figure fps_%s %.1f\n", name.c_str(), fps);
    std::printf("figure frame_ms_median_%s %.2f\n", name.c_str(), Percentile(intervals, 0.5));
    std::printf("figure frame_ms_p95_%s %.2f\n", name.c_str(), Percentile(intervals, 0.95));
    std::fflush(stdout);
}

void Measure(const std::string& name) {
    if (!g_only.empty() && !g_only.count(name)) return;
    MeasurePart(name, Part::Whole);
    if (!g_parts) return;
    MeasurePart(name + "_clear", Part::Clear);
    MeasurePart(name + "_backdrop", Part::Backdrop);
    MeasurePart(name + "_screen", Part::Screen);
}

void PlayUntilPlaying() {
    while (virexo::estado != "juego") Frames(1);
}

// Rows pushed into every board until twelve of its sixteen are taken.
void FillBoards() {
    for (const auto& board : virexo::tableros)
        if (board)
            for (int i = 0; i < 7 && virexo::estado == "juego"; ++i) board->ponlinea();
}

void MeasureEnd(const char* state) {
    const std::string saved = virexo::estado;
    virexo::estado = state;
    Measure(state);
    virexo::estado = saved;
}

void Body() {
    using virexo::estado;
    virexo::replay::Script script;
    script.seed = 5;
    script.clipUnshot = false;
    std::string why;
    if (!g_harness.Start(script, &why)) {
        std::fprintf(stderr, "screen_draw_bench: no display: %s\n", why.c_str());
        std::exit(1);
    }
    {
        // The first frame, in parts: each one's textures and shader
        // variants are made on first use.
        using Clock = std::chrono::steady_clock;
        const auto ms = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double, std::milli>(b - a).count();
        };
        const auto t0 = Clock::now();
        kestrel::Cls();
        virexo::dibujafondo();
        kestrel::GrabPixmap(0, 0, 1, 1);  // waits for the renderer
        const auto t1 = Clock::now();
        virexo::dibujapantalla(virexo::estado);
        kestrel::GrabPixmap(0, 0, 1, 1);
        const auto t2 = Clock::now();
        kestrel::Flip(0);
        const auto t3 = Clock::now();
        std::printf("first frame: backdrop %.1f ms, title %.1f ms, flip %.1f ms\n", ms(t0, t1),
                    ms(t1, t2), ms(t2, t3));
        std::printf("figure first_frame_ms %.1f\n", ms(t0, t3));
    }
    Frames(30);
    Measure("menu");
    Key(kF3);
    Measure("ayuda");
    Key(kEscape);
    Key(kF1);
    Measure("dificultad");
    Key(kF1, 3);
    Measure("iniciajuego");
    PlayUntilPlaying();
    FillBoards();
    Frames(20);
    Measure("juego1");
    Key(kEscape);
    Measure("pausa");
    Key(kSpace);
    MeasureEnd("fin10");
    MeasureEnd("fin10b");

    // Back to the title, then a two-player game.
    Key(kEscape);
    Key(kEscape);
    Key(kF2);
    Key(kF2, 3);
    PlayUntilPlaying();
    FillBoards();
    Frames(20);
    Measure("juego2");
    MeasureEnd("fin20");
    MeasureEnd("fin21");
    MeasureEnd("fin20b");
    MeasureEnd("fin21b");
    std::printf("figure fps_worst %.1f\n", g_worstFps);
}

}  // namespace

int main(int argc, char** argv) {
    int arg = 1;
    if (arg < argc && std::string(argv[arg]) == "--parts") g_parts = true, ++arg;
    if (arg < argc) g_frames = std::max(10, std::atoi(argv[arg++]));
    for (; arg < argc; ++arg) g_only.insert(argv[arg]);
    return kestrel::RunApplication(argc, argv, Body);
}

// The cost of the online game's worst frame on this machine's OpenGL: a
// correction that goes back the whole prediction window. The real program is
// started through the replay harness (real assets, real display) and a
// two-player game brought up with full boards; then each timed frame
// restores the snapshot of kPredictWindow updates ago, runs those updates
// again with both players' keys, draws the frame and swaps at once (Flip(0):
// no pacing sleep), as a frame of the online game does after a correction.
// Prints the median, 95th percentile and greatest time of such a frame, of
// the re-running alone, of the same frame drawn with no correction, and of
// it with both boards shaking; a frame lasts 16.7 ms at 60 a second. Then where the drawing goes: the
// changes of picture a frame sends, the frame's parts each timed to the end
// of their filling (glFinish after each, so they add up to more than a
// frame in which the renderer fills one part while the next is sent), and
// the frame with the grids drawn in the backdrop's pass against apart.
//   rollback_frame_bench [FRAMES]   (default 300)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "game/backdrop.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/net/game_snapshot.h"
#include "game/net/protocol.h"
#include "game/net/rerun_sounds.h"
#include "game/player_keys.h"
#include "game/program.h"
#include "game/screen_flow.h"
#include "game/screens.h"
#include "game/tablero.h"
#include "toolkit/core/app_entry.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d.h"
#include "tools/replay/replay.h"

namespace {

constexpr int kF2 = 113;
using Clock = std::chrono::steady_clock;

int g_frames = 300;
virexo::replay::Harness g_harness;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

void Report(const char* name, const std::vector<double>& ms) {
    std::printf("%-16s median %6.2f ms  p95 %6.2f ms  greatest %6.2f ms\n", name, Percentile(ms, 0.5),
                Percentile(ms, 0.95), *std::max_element(ms.begin(), ms.end()));
    std::printf("figure %s_ms_median %.2f\nfigure %s_ms_max %.2f\n", name, Percentile(ms, 0.5), name,
                *std::max_element(ms.begin(), ms.end()));
}

long PictureChanges() { return kestrel::TGLLumo2DDriver::StateCache().counts().texture; }

// The frame's parts: the backdrop with what lies under the pieces
// drawn in its pass (grids, throwers, plain pieces' shadows), the two
// boards without it (viruses' shadows, pieces), the time text and the swap.
void TimeParts() {
    std::vector<double> backdrop, boards, time, swap;
    const auto finished = [] {
        glFinish();
        return Clock::now();
    };
    for (int f = 0; f < g_frames; ++f) {
        const auto t0 = Clock::now();
        virexo::dibujafondo(virexo::bajotableros(virexo::estado));
        const auto t1 = finished();
        for (const auto& board : virexo::tableros)
            if (board) board->dibuja(0, false);
        const auto t2 = finished();
        virexo::dibujatiempo();
        const auto t3 = finished();
        kestrel::Flip(0);
        const auto t4 = Clock::now();
        backdrop.push_back(Ms(t0, t1));
        boards.push_back(Ms(t1, t2));
        time.push_back(Ms(t2, t3));
        swap.push_back(Ms(t3, t4));
    }
    Report("part_backdrop", backdrop);
    Report("part_boards", boards);
    Report("part_time", time);
    Report("part_swap", swap);
}

// The frame drawn as it is and with what lies under the pieces (grids,
// throwers, plain pieces' shadows) drawn apart, over the backdrop (two
// fills of their pixels, one of them blended), frame about:
// the machine's speed drifts within minutes, so the two are timed
// interleaved.
void CompareGrids() {
    std::vector<double> together, apart;
    for (int f = 0; f < 2 * g_frames + 10; ++f) {
        const bool split = f % 2 == 1;
        const auto t0 = Clock::now();
        if (split) {
            virexo::dibujafondo();
            virexo::dibujapantalla(virexo::estado);
        } else {
            virexo::dibuja();
        }
        kestrel::Flip(0);
        if (f < 10) continue;
        (split ? apart : together).push_back(Ms(t0, Clock::now()));
    }
    Report("underlay_in_backdrop", together);
    Report("underlay_apart", apart);
}

void Body() {
    using virexo::estado;
    virexo::replay::Script script;
    script.seed = 9;
    script.clipUnshot = false;
    std::string why;
    if (!g_harness.Start(script, &why)) {
        std::fprintf(stderr, "rollback_frame_bench: no display: %s\n", why.c_str());
        std::exit(1);
    }
    for (int i = 0; i < 30; ++i) g_harness.Step();
    g_harness.Press(kF2);
    for (int i = 0; i < 3; ++i) g_harness.Step();
    g_harness.Press(kF2);
    while (estado != "juego") g_harness.Step();
    // Full boards: the most pieces to copy, move and draw.
    for (const auto& board : virexo::tableros)
        if (board)
            for (int i = 0; i < 7 && estado == "juego"; ++i) board->ponlinea();
    for (int i = 0; i < 20; ++i) g_harness.Step();

    const virexo::net::GameSnapshot before = virexo::net::GameSnapshot::Take();
    const int depth = virexo::net::kPredictWindow;
    std::vector<double> frame, rerun;
    std::uint32_t n = 0;
    // As in the online game, a re-run update plays no sound an earlier run
    // of it played: every frame here runs the same updates again.
    virexo::net::RerunSounds sounds;
    for (int f = 0; f < g_frames + 5; ++f) {
        const auto t0 = Clock::now();
        before.Restore();
        for (int u = 0; u < depth; ++u, ++n) {
            sounds.Begin(std::uint32_t(u));
            // Both players walk and throw now and then, as in play.
            const std::uint8_t bits = n % 7 == 0 ? virexo::teclas::kIzquierda : n % 11 == 0 ? virexo::teclas::kArriba : 0;
            const virexo::TeclasJugadores keys{bits, static_cast<std::uint8_t>(bits ? virexo::teclas::kDerecha : 0)};
            virexo::ponteclasdered(&keys);
            virexo::actualizaestado();
            virexo::ponteclasdered(nullptr);
            sounds.End();
        }
        const auto t1 = Clock::now();
        virexo::dibuja();
        kestrel::Flip(0);
        const auto t2 = Clock::now();
        if (f < 5) continue;  // warm-up
        rerun.push_back(Ms(t0, t1));
        frame.push_back(Ms(t0, t2));
        if (estado != "juego") before.Restore();
    }
    // The same frames with no correction: what drawing the game alone costs,
    // the rest of a frame with one.
    before.Restore();
    std::vector<double> plain;
    const long changesBefore = PictureChanges();
    for (int f = 0; f < g_frames + 5; ++f) {
        const auto t0 = Clock::now();
        virexo::dibuja();
        kestrel::Flip(0);
        if (f >= 5) plain.push_back(Ms(t0, Clock::now()));
    }
    const long changes = (PictureChanges() - changesBefore) / (g_frames + 5);
    // The same frames with both boards shaking, as after a throw or a
    // pushed row: between pixels, and drawn on whole ones.
    std::vector<double> shaking;
    for (int f = 0; f < g_frames + 5; ++f) {
        for (const auto& board : virexo::tableros)
            if (board) board->sx = board->osx + (f % 2 ? 2.37f : -1.61f);
        const auto t0 = Clock::now();
        virexo::dibuja();
        kestrel::Flip(0);
        if (f >= 5) shaking.push_back(Ms(t0, Clock::now()));
    }
    before.Restore();
    // The same frames with everything on the boards moving between pixels:
    // the pieces gliding down, the throwers walking and turning, as in the
    // frames after the other player's keys arrive.
    std::vector<double> moving;
    for (int f = 0; f < g_frames + 5; ++f) {
        before.Restore();
        const float d = f % 2 ? 0.37f : 0.71f;
        for (const auto& board : virexo::tableros) {
            if (!board) continue;
            for (const auto& piece : *board->fichas) piece->y += d;
            if (board->doc) {
                board->doc->sx += d;
                board->doc->t = f % 2 ? 0.62f : -0.43f;
            }
        }
        const auto t0 = Clock::now();
        virexo::dibuja();
        kestrel::Flip(0);
        if (f >= 5) moving.push_back(Ms(t0, Clock::now()));
    }
    before.Restore();
    std::printf("a correction %d updates deep, %d frames, state \"%s\"\n", depth, g_frames, estado.c_str());
    Report("rollback_rerun", rerun);
    Report("rollback_frame", frame);
    Report("plain_frame", plain);
    Report("shaking_frame", shaking);
    Report("moving_frame", moving);
    std::printf("figure picture_changes_per_frame %ld\n", changes);
    TimeParts();
    CompareGrids();
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_frames = std::max(10, std::atoi(argv[1]));
    return kestrel::RunApplication(argc, argv, Body);
}

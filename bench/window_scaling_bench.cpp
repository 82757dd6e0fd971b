// What showing the 1024 x 768 picture costs per frame at each window size:
// drawn straight into a window of exactly its size, or drawn offscreen and
// scaled, letter-boxed, into windows of other sizes (the picture at 1x
// through the offscreen path, a smaller window, twice the size). Each
// frame clears the picture, fills it with 200 blended quads and is
// presented with Flip(0), then glFinish, so the figure is the wall time of
// the whole frame on the software renderer. Run on an X screen of at least
// 2048 x 1536 (tools/bench.sh starts one):
//   xvfb-run -a -s "-screen 0 2560x1600x24" build/bench/window_scaling_bench
#include <GL/gl.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>

#include "toolkit/core/app.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"

namespace {

using namespace kestrel;

void DrawFrame(int frame) {
    glClearColor(0.1f, 0.1f, 0.2f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 768, 0, -1, 1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    for (int i = 0; i < 200; ++i) {
        const float x = static_cast<float>((i * 53 + frame) % 960), y = static_cast<float>((i * 37) % 700);
        glColor4f((i % 3) / 2.0f, (i % 5) / 4.0f, (i % 7) / 6.0f, 0.5f);
        glVertex2f(x, y);
        glVertex2f(x + 64, y);
        glVertex2f(x + 64, y + 64);
        glVertex2f(x, y + 64);
    }
    glEnd();
}

double MsPerFrame(int frames) {
    for (int i = 0; i < 10; ++i) {  // settle
        DrawFrame(i);
        Flip(0);
        PollSystem();
    }
    glFinish();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        DrawFrame(i);
        Flip(0);
        glFinish();
        PollSystem();
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() /
           frames;
}

}  // namespace

int main() {
    sdl::UseSDLSystemDriver();
    InitSystem();
    InitGraphics();
    AppTitle = "window scaling";
    if (!GLGraphics(1024, 768, 0, 0, 0)) {
        std::fprintf(stderr, "window_scaling_bench: %s\n", GraphicsError().c_str());
        return 1;
    }
    SDL_Window* w = SDL_GL_GetCurrentWindow();
    struct Case {
        const char* name;
        int w, h;
    } cases[] = {{"direct_1024x768", 1024, 768},   {"offscreen_1026x768", 1026, 768},
                 {"offscreen_800x600", 800, 600},  {"offscreen_1280x960", 1280, 960},
                 {"offscreen_2048x1536", 2048, 1536}, {"direct_1024x768_again", 1024, 768}};
    const int frames = 300;
    for (const Case& c : cases) {
        SDL_SetWindowSize(w, c.w, c.h);
        const double ms = MsPerFrame(frames);
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(w, &dw, &dh);
        std::printf("%-24s drawable %4dx%-4d %s: %.2f ms per frame\n", c.name, dw, dh,
                    GLDrawFramebuffer() ? "offscreen" : "direct   ", ms);
        std::printf("figure window_%s_ms %.2f\n", c.name, ms);
    }
    EndGraphics();
    return 0;
}

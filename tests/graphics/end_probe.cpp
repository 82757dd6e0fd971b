// A program that opens a display and sound, then ends one of the ways a
// program can end; run as a child process by end_paths_test.
//   end_probe <how> [order [own]]
// how: return (leave main), end (End()), throw (an error escapes
// RunApplication), exit (std::exit); order: the modules' start-up order,
// "audio-first" or "graphics-first"; own: the program makes its window
// with CreateGraphics and SetGraphics instead of Graphics, and says at its
// very end whether the window was closed ("closed") or is still current.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/sdl/direct_sound_module.h"
#include "toolkit/core/app_entry.h"
#include "toolkit/core/error.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/system/sdl/sdl_system_driver.h"

namespace {

std::string g_how;
std::string g_order;
bool g_own = false;

void StartModules() {
    using namespace kestrel;
    sdl::UseSDLSystemDriver();
    if (g_order == "graphics-first") {
        InitLumo2D();
        InitAudioCore();
        sdl::InitDirectSoundAudio();
    } else {
        InitAudioCore();
        sdl::InitDirectSoundAudio();
        InitLumo2D();
    }
}

void Body() {
    using namespace kestrel;
    StartModules();
    if (g_own)  // registered first, so it runs last
        OnEnd([] { std::puts(GraphicsWidth() == 0 ? "closed" : "still current"); });
    auto g = g_own ? CreateGraphics(320, 240, 0, 60, 0) : Graphics(320, 240);
    if (g_own && g) SetGraphics(g);
    if (!g) {
        std::fprintf(stderr, "no graphics: %s\n", GraphicsError().c_str());
        std::exit(3);
    }
    // Draw a frame so that every renderer object exists (fonts, textures).
    Cls();
    DrawText("end", 10, 10);
    Flip(0);
    // A looping sound still playing when the program ends.
    auto sample = CreateAudioSample(4410, 44100, SF_MONO16LE);
    auto sound = LoadSound(sample, SOUND_LOOP);
    if (sound) PlaySound(sound);
    OnEnd([] { std::puts("handler"); });
    if (g_how == "end") End();
    if (g_how == "throw") RuntimeError("ending by an error");
    if (g_how == "exit") std::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    g_how = argc > 1 ? argv[1] : "return";
    g_order = argc > 2 ? argv[2] : "audio-first";
    g_own = argc > 3 && std::string(argv[3]) == "own";
    if (g_how == "plain") {
        // A plain main, no RunApplication: the shape of the smallest program.
        Body();
        return 0;
    }
    return kestrel::RunApplication(argc, argv, Body);
}

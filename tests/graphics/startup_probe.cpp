// A program that starts some of the toolkit's modules, or all of them with
// Startup, then loads data and opens a display; run as a child process by
// startup_test, which reads what it printed. One scenario per run, since
// every module starts once per process.
//   startup_probe <scenario> <assets folder>
#include <cstdio>
#include <string>

#include "toolkit/audio/audio.h"
#include "toolkit/graphics/font.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/resources/pixmap_loader.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/sdl/startup.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"

using namespace kestrel;

namespace {

std::string g_assets;

std::string Asset(const char* name) { return g_assets + "/" + name; }

void Say(const std::string& key, bool value) {
    std::printf("%s=%d\n", key.c_str(), value ? 1 : 0);
    std::fflush(stdout);
}

// Loads one file of each kind and prints which loaded.
void LoadEach() {
    Say("pixmap", LoadPixmap(Asset("gfx/doc.png")) != nullptr);
    Say("sample", LoadAudioSample(Asset("sfx/click.wav")) != nullptr);
    Say("ogg-refused", LoadAudioSample(Asset("sfx/menu.ogg")) == nullptr);
    Say("font", LoadFont(Asset("gfx/led.ttf"), 12, 0) != nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string scenario = argv[1];
    g_assets = argv[2];
    if (scenario == "no-loaders") {
        // Streams but no loader: every load names its missing loader, once.
        InitStreamFactories();
        LoadEach();
        LoadEach();
        // A loader started afterwards loads, and nothing more is said.
        InitPngLoader();
        Say("pixmap-after", LoadPixmap(Asset("gfx/doc.png")) != nullptr);
    } else if (scenario == "no-driver") {
        auto g = Graphics(320, 240);
        Say("graphics", g != nullptr);
        std::printf("error=%s\n", GraphicsError().c_str());
    } else if (scenario == "headless-window") {
        // The 2D renderer but not the SDL system driver: a real window that
        // would never see a key.
        InitLumo2D();
        Say("graphics", Graphics(320, 240) != nullptr);
        Say("graphics-again", Graphics(320, 240) != nullptr);
    } else if (scenario == "null-audio") {
        InitAudioCore();
        auto sample = CreateAudioSample(100, 44100, SF_MONO16LE);
        Say("sound", LoadSound(sample) != nullptr);
        std::printf("driver=%s\n", AudioDriver()->Name().c_str());
    } else if (scenario == "startup") {
        Startup();
        Startup();  // again: nothing changes
        Say("sdl-system-driver",
            std::dynamic_pointer_cast<sdl::TSDLSystemDriver>(SystemDriver()) != nullptr);
        LoadEach();
        Say("graphics", Graphics(320, 240) != nullptr);
        Say("image", LoadImage(Asset("gfx/doc.png")) != nullptr);
        Cls();
        DrawRect(1, 1, 10, 10);
        Flip(0);
        Say("sound", LoadSound(Asset("sfx/click.wav")) != nullptr);
        std::printf("driver=%s\n", AudioDriver()->Name().c_str());
        for (const char* name : {"SoftMix", "SoftMix Multimedia", "SoftMix DirectSound"})
            Say(name, AudioDriverExists(name) != 0);
    }
    return 0;
}

#include "toolkit/sdl/startup.h"

#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/sdl/direct_sound_module.h"
#include "toolkit/audio/sdl/wave_output.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/core/app.h"
#include "toolkit/core/error.h"
#include "toolkit/core/run_once.h"
#include "toolkit/graphics/freetype_font.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/system/random.h"
#include "toolkit/system/sdl/joystick.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/timer.h"

namespace kestrel {

namespace {

const ModuleRow kSteps[] = {
    {1, "SDL system driver", StartSystemDriver},
    {2, "runtime core", InitCore},
    {3, "system module, random numbers, timers and joysticks", StartSystem},
    {4, "streams and embedded files", StartStreams},
    {5, "pixmap, sample and font loaders", StartLoaders},
    {6, "OpenGL 2D renderer", StartRenderer},
    {7, "DirectSound audio driver and software mixers", StartAudio},
};

}  // namespace

void StartSystemDriver() {
    if (!GetSystemDriverFactory()) sdl::UseSDLSystemDriver();
}

void StartSystem() {
    InitSystem();
    InitRandom();
    InitTimers();
    InitJoystick();
}

void StartStreams() { InitStreamFactories(); }

void StartLoaders() {
    InitPngLoader();
    InitWavLoader();
    InitOggLoader();
    InitFreeTypeFonts();
}

void StartRenderer() {
    // Once only: a second SetGraphicsDriver would put the plain GL driver
    // back in the 2D renderer's place.
    static bool done = false;
    RunOnce(done, [] {
        // The OpenGL graphics driver first: the 2D renderer's driver draws
        // through it and then takes its place as the current driver.
        InitGraphics();
        SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
        InitLumo2D();
    });
}

void StartAudio() {
    InitAudioCore();
    // The first sound or channel takes "DirectSound" (or "Null" where no
    // audio device opens); the software mixers wait to be chosen by name.
    sdl::InitDirectSoundAudio();
    sdl::InitSoftMixAudio();
}

std::span<const ModuleRow> StartupSteps() { return kSteps; }

void Startup(int argc, char** argv) {
    SetApplicationGlobals(argc, argv);
    Startup();
}

void Startup() {
    // The system driver is chosen before any module can reach the system
    // module and make the headless one.
    RunModuleTable(StartupSteps());
}

}  // namespace kestrel

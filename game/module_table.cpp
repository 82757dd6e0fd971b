#include "game/module_table.h"

#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/sdl/direct_sound_module.h"
#include "toolkit/audio/sdl/wave_output.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/core/error.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/graphics/freetype_font.h"
#include "toolkit/sdl/startup.h"
#include "toolkit/system/random.h"
#include "toolkit/system/sdl/joystick.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/timer.h"

namespace virexo {

namespace {

// Random numbers, stream factories, standard input/output and linked lists.
void InitStandardLibraryGroup() {
    kestrel::InitRandom();
    kestrel::InitStreamFactories();
}


const kestrel::ModuleRow kRows[] = {
    {1, "runtime core", kestrel::InitCore},
    {2, "game module", nullptr},  // already running
    {3, "audio core", kestrel::InitAudioCore},
    {4, "memory banks", nullptr},
    {5, "bank streams", nullptr},
    {6, "standard library group", InitStandardLibraryGroup},
    {7, "BMP image loader", nullptr},
    // The OpenGL graphics driver, then the 2D renderer's OpenGL driver in its
    // place as the current graphics driver (no Direct3D driver follows it).
    {8, "2D renderer", kestrel::StartRenderer},
    {9, "second 2D renderer", nullptr},
    {10, "empty module", nullptr},
    {11, "DirectSound audio driver", kestrel::sdl::InitDirectSoundAudio},
    {12, "event queue", kestrel::InitSystem},
    {13, "software-mixer audio", kestrel::sdl::InitSoftMixAudio},
    {14, "FreeType image fonts", kestrel::InitFreeTypeFonts},
    {15, "networking", nullptr},
    {16, "JPEG image loader", nullptr},
    {17, "key-value maps", nullptr},
    {18, "scripting binding", nullptr},
    {19, "path utilities", InitStandardLibraryGroup},
    {20, "Ogg sample loader", kestrel::InitOggLoader},
    {21, "OpenAL audio", nullptr},
    {22, "PNG image loader", kestrel::InitPngLoader},
    {23, "standard library group again", InitStandardLibraryGroup},
    {24, "TGA image loader", nullptr},
    {25, "empty module", nullptr},
    {26, "timers", kestrel::InitTimers},
    {27, "WAV sample loader", kestrel::InitWavLoader},
    {28, "joystick input", kestrel::InitJoystick},
    {29, "processes and pipes", nullptr},
    {30, "module with no set-up", nullptr},
    {31, "empty module", nullptr},
};

}  // namespace

std::span<const kestrel::ModuleRow> ModuleTable() { return kRows; }

void InitModules() {
    // The system driver is the platform's; earlier rows already reach the
    // system module through their dependencies, so it is chosen before any
    // row runs. A harness that installed a driver of its own keeps it.
    kestrel::StartSystemDriver();
    kestrel::RunModuleTable(ModuleTable());
}

}  // namespace virexo

// Starting every module of the toolkit with one call, on SDL2 and OpenGL.
//
//     #include "kestrel/kestrel.h"
//     int main() {
//         kestrel::Startup();
//         auto window = kestrel::Graphics(640, 480);
//         ...
//     }
//
// Startup registers, in this order: the SDL system driver (keys, mouse,
// window events, message boxes; kept if the program chose a driver of its
// own first), random numbers, timers and joysticks; streams and the
// embedded-file registry ("incbin::" URLs); the PNG pixmap loader, the WAV
// and Ogg sample loaders and the FreeType font loader; the graphics module
// with the OpenGL renderer as the current graphics driver; the audio core
// with the "DirectSound" driver (the one the first sound uses; "Null" where
// no audio device opens) and the software mixer drivers
// ("SoftMix", "SoftMix Multimedia", "SoftMix DirectSound") available by name
// to SetAudioDriver. Calling it again does nothing.
#pragma once

#include <span>

#include "toolkit/system/module_init.h"

namespace kestrel {

// Registers every module, in the order of StartupSteps().
void Startup();
/// The same, after filling AppFile, AppDir, AppArgs and LaunchDir from the
/// command line and the process (SetApplicationGlobals); the current
/// directory is not changed. Data next to the executable is then at
/// AppDir + "/...".
void Startup(int argc, char** argv);

// The steps of Startup, in order; each may be run on its own (again, once
// only) by a program that starts its modules in an order of its own.
std::span<const ModuleRow> StartupSteps();

// The SDL system driver, unless the program installed a factory of its own.
void StartSystemDriver();
// The system module, random numbers, timers and joysticks.
void StartSystem();
// Streams, their URL factories and the embedded-file registry.
void StartStreams();
// The pixmap, sample and font loaders.
void StartLoaders();
// The graphics module and the OpenGL 2D renderer as the graphics driver.
void StartRenderer();
// The audio core, the "DirectSound" driver and the software mixers by name.
void StartAudio();

}  // namespace kestrel

// Gamepads through SDL's game-controller API: any pad that SDL's built-in
// mapping database (or SDL_GAMECONTROLLERCONFIG) knows reads as the same
// layout of buttons and sticks. Pads come and go at any time; each takes the
// lowest free slot while it is connected.
#pragma once

#include <SDL_events.h>

#include "toolkit/system/message_translator.h"

namespace kestrel::sdl {

// Starts SDL's game-controller support (once) and attaches the polled pad
// input. SDL then reports every pad already connected as just added.
void InitGameControllers();

// The pad message of a game-controller event, opening the pad when it is
// added and closing it when it goes away. False for any other event, for a
// pad beyond the slots, and for events of a pad not (or no longer) open.
bool PadMessageFor(const SDL_Event& event, PlatformMessage& message);

// The slots' pads all closed (tests).
void CloseGameControllers();

}  // namespace kestrel::sdl

// Gamepads through SDL's game-controller API: any pad that SDL's built-in
// mapping database (or SDL_GAMECONTROLLERCONFIG) knows reads as the same
// layout of buttons and sticks. Pads come and go at any time; each takes the
// lowest free slot while it is connected.
#pragma once

#include <SDL_events.h>

#include <vector>

#include "toolkit/system/message_translator.h"

namespace kestrel::sdl {

// Starts SDL's game-controller support (once) and attaches the polled pad
// input. SDL then reports every pad already connected as just added.
void InitGameControllers();

// Appends the pad messages of a game-controller event: a pad's button or
// axis; or, when a pad comes or goes, its closing and the opening of every
// pad SDL lists that is not open yet (SDL does not announce a pad plugged
// in just as an earlier one is pulled out). Nothing for any other event,
// for a pad beyond the slots, or for events of a pad not (or no longer)
// open.
void PadMessagesFor(const SDL_Event& event, std::vector<PlatformMessage>& out);

// The slots' pads all closed (tests).
void CloseGameControllers();

}  // namespace kestrel::sdl

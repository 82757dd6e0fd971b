// SDL events as the translator's neutral message records.
#pragma once

#include <SDL_events.h>

#include <vector>

#include "toolkit/system/message_translator.h"

namespace kestrel::sdl {

// Converts a batch of events (in order) to records. Events with no record
// (and the pump's own wake-ups) give none. The batch is seen whole so that
// a focus change between two windows of the program is told apart from
// one to another program.
std::vector<PlatformMessage> ToMessages(const std::vector<SDL_Event>& events);

// The modifier mask of SDL's key state: 1 shift, 2 control, 4 alt, 8 system.
int ModifierMask(Uint16 sdlMods);

}  // namespace kestrel::sdl

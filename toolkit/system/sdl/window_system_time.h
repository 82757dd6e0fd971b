// The window system's own time of input events. SDL stamps an event when it
// pumps it; an X server stamps key and button events when they happen, and
// SDL hands the raw X event over (as a window-manager event) just before
// the key or button event it makes of it.
#pragma once

#include <SDL_events.h>

#include <cstdint>
#include <optional>

namespace kestrel::sdl {

// Asks SDL for the raw window-system events (once the video subsystem is
// up; harmless before).
void EnableWindowSystemEvents();

// The raw event's kind and time, read from a window-manager event. SDL
// keeps the raw event only until the next poll: read it at once.
struct WindowSystemStamp {
    enum class Kind { KeyDown, KeyUp, ButtonDown, ButtonUp, Other } kind = Kind::Other;
    std::uint32_t ms = 0;  // the server's time, ms
};
std::optional<WindowSystemStamp> ReadWindowSystemStamp(const SDL_Event& e);

// Whether SDL's event is the one made of the raw event that preceded it.
bool StampBelongsTo(const WindowSystemStamp& stamp, const SDL_Event& e);

}  // namespace kestrel::sdl

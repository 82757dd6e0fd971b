#include "tools/replay/sdl/key_injection.h"

#include <SDL.h>

#include "toolkit/system/millisecs.h"
#include "toolkit/system/sdl/key_map.h"

namespace virexo::replay::sdl {

namespace {

// The scancode whose key has this virtual-key code (the left modifier where
// both sides share one).
SDL_Scancode ScancodeFor(int vkey) {
    for (int s = 1; s < SDL_NUM_SCANCODES; ++s) {
        const auto w = kestrel::sdl::WinKeyFor(static_cast<SDL_Scancode>(s));
        if (w.vkey == vkey) return static_cast<SDL_Scancode>(s);
    }
    return SDL_SCANCODE_UNKNOWN;
}

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, Uint32 window) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = window;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    return e;
}

void Push(Uint32 type, SDL_Scancode scancode, Uint32 window) {
    SDL_Event e = KeyEvent(type, scancode, window);
    SDL_PushEvent(&e);
}

// SDL_PushEvent stamps an event with the time of the push; SDL_PeepEvents
// keeps the stamp it is given.
void PushStamped(Uint32 type, SDL_Scancode scancode, Uint32 window, long long atUs) {
    SDL_Event e = KeyEvent(type, scancode, window);
    const long long agoMs = (kestrel::SteadyMicros() - atUs) / 1000;
    e.common.timestamp = static_cast<Uint32>(static_cast<long long>(SDL_GetTicks()) - agoMs);
    SDL_PeepEvents(&e, 1, SDL_ADDEVENT, 0, 0);
}

}  // namespace

bool InjectKeyTap(int vkey) {
    const SDL_Scancode scancode = ScancodeFor(vkey);
    if (scancode == SDL_SCANCODE_UNKNOWN) return false;
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    const Uint32 id = window ? SDL_GetWindowID(window) : 0;
    Push(SDL_KEYDOWN, scancode, id);
    Push(SDL_KEYUP, scancode, id);
    return true;
}

bool InjectKeyTapAt(int vkey, long long downUs, long long upUs) {
    const SDL_Scancode scancode = ScancodeFor(vkey);
    if (scancode == SDL_SCANCODE_UNKNOWN) return false;
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    const Uint32 id = window ? SDL_GetWindowID(window) : 0;
    PushStamped(SDL_KEYDOWN, scancode, id, downUs);
    PushStamped(SDL_KEYUP, scancode, id, upUs);
    return true;
}

void InjectFocusChange(bool gained) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window ? SDL_GetWindowID(window) : 0;
    e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
}

bool WindowHasFocus() {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    return window && SDL_GetKeyboardFocus() == window;
}

}  // namespace virexo::replay::sdl

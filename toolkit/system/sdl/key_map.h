// SDL scancodes to Windows virtual-key codes, with the PC scan code and
// extended bit that tell the left and right modifiers apart.
#pragma once

#include <SDL_scancode.h>

namespace kestrel::sdl {

struct WinKey {
    int vkey = 0;       // 0 for keys with no virtual-key code
    int scancode = 0;   // set-1 scan code where the translation needs it
    bool extended = false;
};

WinKey WinKeyFor(SDL_Scancode scancode);

}  // namespace kestrel::sdl

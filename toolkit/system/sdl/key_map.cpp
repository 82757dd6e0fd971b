#include "toolkit/system/sdl/key_map.h"

#include "toolkit/system/keys.h"

namespace kestrel::sdl {

WinKey WinKeyFor(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return {KEY_A + (s - SDL_SCANCODE_A), 0, false};
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return {KEY_1 + (s - SDL_SCANCODE_1), 0, false};
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return {KEY_F1 + (s - SDL_SCANCODE_F1), 0, false};
    if (s >= SDL_SCANCODE_F13 && s <= SDL_SCANCODE_F24) return {KEY_F13 + (s - SDL_SCANCODE_F13), 0, false};
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return {KEY_NUM1 + (s - SDL_SCANCODE_KP_1), 0, false};
    switch (s) {
    case SDL_SCANCODE_0: return {KEY_0, 0, false};
    case SDL_SCANCODE_RETURN: return {KEY_RETURN, 0, false};
    case SDL_SCANCODE_ESCAPE: return {KEY_ESCAPE, 0, false};
    case SDL_SCANCODE_BACKSPACE: return {KEY_BACKSPACE, 0, false};
    case SDL_SCANCODE_TAB: return {KEY_TAB, 0, false};
    case SDL_SCANCODE_SPACE: return {KEY_SPACE, 0, false};
    case SDL_SCANCODE_MINUS: return {KEY_MINUS, 0, false};
    case SDL_SCANCODE_EQUALS: return {KEY_EQUALS, 0, false};
    case SDL_SCANCODE_LEFTBRACKET: return {KEY_OPENBRACKET, 0, false};
    case SDL_SCANCODE_RIGHTBRACKET: return {KEY_CLOSEBRACKET, 0, false};
    case SDL_SCANCODE_BACKSLASH: return {KEY_BACKSLASH, 0, false};
    case SDL_SCANCODE_NONUSBACKSLASH: return {KEY_OEM102, 0, false};
    case SDL_SCANCODE_SEMICOLON: return {KEY_SEMICOLON, 0, false};
    case SDL_SCANCODE_APOSTROPHE: return {KEY_QUOTES, 0, false};
    case SDL_SCANCODE_GRAVE: return {KEY_TILDE, 0, false};
    case SDL_SCANCODE_COMMA: return {KEY_COMMA, 0, false};
    case SDL_SCANCODE_PERIOD: return {KEY_PERIOD, 0, false};
    case SDL_SCANCODE_SLASH: return {KEY_SLASH, 0, false};
    case SDL_SCANCODE_CAPSLOCK: return {KEY_CAPSLOCK, 0, false};
    case SDL_SCANCODE_PRINTSCREEN: return {KEY_SCREEN, 0, true};
    case SDL_SCANCODE_SCROLLLOCK: return {KEY_SCROLL, 0, false};
    case SDL_SCANCODE_PAUSE: return {KEY_PAUSE, 0, false};
    case SDL_SCANCODE_INSERT: return {KEY_INSERT, 0, true};
    case SDL_SCANCODE_HOME: return {KEY_HOME, 0, true};
    case SDL_SCANCODE_PAGEUP: return {KEY_PAGEUP, 0, true};
    case SDL_SCANCODE_DELETE: return {KEY_DELETE, 0, true};
    case SDL_SCANCODE_END: return {KEY_END, 0, true};
    case SDL_SCANCODE_PAGEDOWN: return {KEY_PAGEDOWN, 0, true};
    case SDL_SCANCODE_RIGHT: return {KEY_RIGHT, 0, true};
    case SDL_SCANCODE_LEFT: return {KEY_LEFT, 0, true};
    case SDL_SCANCODE_DOWN: return {KEY_DOWN, 0, true};
    case SDL_SCANCODE_UP: return {KEY_UP, 0, true};
    case SDL_SCANCODE_NUMLOCKCLEAR: return {KEY_NUMLOCK, 0, true};
    case SDL_SCANCODE_KP_DIVIDE: return {KEY_NUMDIVIDE, 0, true};
    case SDL_SCANCODE_KP_MULTIPLY: return {KEY_NUMMULTIPLY, 0, false};
    case SDL_SCANCODE_KP_MINUS: return {KEY_NUMSUBTRACT, 0, false};
    case SDL_SCANCODE_KP_PLUS: return {KEY_NUMADD, 0, false};
    case SDL_SCANCODE_KP_ENTER: return {KEY_ENTER, 0, true};
    case SDL_SCANCODE_KP_0: return {KEY_NUM0, 0, false};
    case SDL_SCANCODE_KP_PERIOD: return {KEY_NUMDECIMAL, 0, false};
    case SDL_SCANCODE_APPLICATION: return {KEY_APPS, 0, true};
    // The modifiers carry their real scan codes: the translator tells left
    // from right by them.
    case SDL_SCANCODE_LSHIFT: return {KEY_SHIFT, 42, false};
    case SDL_SCANCODE_RSHIFT: return {KEY_SHIFT, 54, false};
    case SDL_SCANCODE_LCTRL: return {KEY_CONTROL, 29, false};
    case SDL_SCANCODE_RCTRL: return {KEY_CONTROL, 29, true};
    case SDL_SCANCODE_LALT: return {KEY_ALT, 56, false};
    case SDL_SCANCODE_RALT: return {KEY_ALT, 56, true};
    case SDL_SCANCODE_LGUI: return {KEY_LSYS, 91, true};
    case SDL_SCANCODE_RGUI: return {KEY_RSYS, 92, true};
    default: return {};
    }
}

}  // namespace kestrel::sdl

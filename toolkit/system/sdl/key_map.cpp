#include "toolkit/system/sdl/key_map.h"

namespace kestrel::sdl {

WinKey WinKeyFor(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return {65 + (s - SDL_SCANCODE_A), 0, false};
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return {49 + (s - SDL_SCANCODE_1), 0, false};
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return {112 + (s - SDL_SCANCODE_F1), 0, false};
    if (s >= SDL_SCANCODE_F13 && s <= SDL_SCANCODE_F24) return {124 + (s - SDL_SCANCODE_F13), 0, false};
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return {97 + (s - SDL_SCANCODE_KP_1), 0, false};
    switch (s) {
    case SDL_SCANCODE_0: return {48, 0, false};
    case SDL_SCANCODE_RETURN: return {13, 0, false};
    case SDL_SCANCODE_ESCAPE: return {27, 0, false};
    case SDL_SCANCODE_BACKSPACE: return {8, 0, false};
    case SDL_SCANCODE_TAB: return {9, 0, false};
    case SDL_SCANCODE_SPACE: return {32, 0, false};
    case SDL_SCANCODE_MINUS: return {189, 0, false};
    case SDL_SCANCODE_EQUALS: return {187, 0, false};
    case SDL_SCANCODE_LEFTBRACKET: return {219, 0, false};
    case SDL_SCANCODE_RIGHTBRACKET: return {221, 0, false};
    case SDL_SCANCODE_BACKSLASH: return {220, 0, false};
    case SDL_SCANCODE_NONUSBACKSLASH: return {226, 0, false};
    case SDL_SCANCODE_SEMICOLON: return {186, 0, false};
    case SDL_SCANCODE_APOSTROPHE: return {222, 0, false};
    case SDL_SCANCODE_GRAVE: return {192, 0, false};
    case SDL_SCANCODE_COMMA: return {188, 0, false};
    case SDL_SCANCODE_PERIOD: return {190, 0, false};
    case SDL_SCANCODE_SLASH: return {191, 0, false};
    case SDL_SCANCODE_CAPSLOCK: return {20, 0, false};
    case SDL_SCANCODE_PRINTSCREEN: return {44, 0, true};
    case SDL_SCANCODE_SCROLLLOCK: return {145, 0, false};
    case SDL_SCANCODE_PAUSE: return {19, 0, false};
    case SDL_SCANCODE_INSERT: return {45, 0, true};
    case SDL_SCANCODE_HOME: return {36, 0, true};
    case SDL_SCANCODE_PAGEUP: return {33, 0, true};
    case SDL_SCANCODE_DELETE: return {46, 0, true};
    case SDL_SCANCODE_END: return {35, 0, true};
    case SDL_SCANCODE_PAGEDOWN: return {34, 0, true};
    case SDL_SCANCODE_RIGHT: return {39, 0, true};
    case SDL_SCANCODE_LEFT: return {37, 0, true};
    case SDL_SCANCODE_DOWN: return {40, 0, true};
    case SDL_SCANCODE_UP: return {38, 0, true};
    case SDL_SCANCODE_NUMLOCKCLEAR: return {144, 0, true};
    case SDL_SCANCODE_KP_DIVIDE: return {111, 0, true};
    case SDL_SCANCODE_KP_MULTIPLY: return {106, 0, false};
    case SDL_SCANCODE_KP_MINUS: return {109, 0, false};
    case SDL_SCANCODE_KP_PLUS: return {107, 0, false};
    case SDL_SCANCODE_KP_ENTER: return {13, 0, true};
    case SDL_SCANCODE_KP_0: return {96, 0, false};
    case SDL_SCANCODE_KP_PERIOD: return {110, 0, false};
    case SDL_SCANCODE_APPLICATION: return {93, 0, true};
    // The modifiers carry their real scan codes: the translator tells left
    // from right by them.
    case SDL_SCANCODE_LSHIFT: return {16, 42, false};
    case SDL_SCANCODE_RSHIFT: return {16, 54, false};
    case SDL_SCANCODE_LCTRL: return {17, 29, false};
    case SDL_SCANCODE_RCTRL: return {17, 29, true};
    case SDL_SCANCODE_LALT: return {18, 56, false};
    case SDL_SCANCODE_RALT: return {18, 56, true};
    case SDL_SCANCODE_LGUI: return {91, 91, true};
    case SDL_SCANCODE_RGUI: return {92, 92, true};
    default: return {};
    }
}

}  // namespace kestrel::sdl

#include "toolkit/system/sdl/message_box.h"

#include <SDL.h>

#include <cstdio>

#include "toolkit/core/app.h"
#include "toolkit/system/sdl/termination.h"

namespace kestrel::sdl {

int ShowMessageBox(const std::string& text, bool serious, BoxButtons buttons) {
    constexpr Uint32 kReturn = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    constexpr Uint32 kEscape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    SDL_MessageBoxButtonData data[3];
    int count = 0;
    int cancelResult = 0;
    switch (buttons) {
    case BoxButtons::Ok:
        data[count++] = {kReturn | kEscape, 0, "OK"};
        break;
    case BoxButtons::OkCancel:
        data[count++] = {kReturn, 1, "OK"};
        data[count++] = {kEscape, 0, "Cancel"};
        break;
    case BoxButtons::YesNoCancel:
        data[count++] = {kReturn, 1, "Yes"};
        data[count++] = {0, 0, "No"};
        data[count++] = {kEscape, -1, "Cancel"};
        cancelResult = -1;
        break;
    }

    // Modal to the active window; keyboard focus goes back to it after.
    SDL_Window* owner = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
    if (!owner && SDL_WasInit(SDL_INIT_VIDEO)) owner = SDL_GL_GetCurrentWindow();

    SDL_MessageBoxData box{};
    box.flags = (serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION) |
                SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = owner;
    box.title = AppTitle.c_str();
    box.message = text.c_str();
    box.numbuttons = count;
    box.buttons = data;
    int pressed = -2;
    // The box runs its own loop: the pump cannot take a signal meanwhile.
    SetInModalLoop(true);
    const int shown = SDL_ShowMessageBox(&box, &pressed);
    SetInModalLoop(false);
    if (shown != 0) {
        std::fprintf(stderr, "%s: %s (no message box could be shown: %s)\n", AppTitle.c_str(),
                     text.c_str(), SDL_GetError());
        return cancelResult;
    }
    if (owner) SDL_RaiseWindow(owner);
    if (buttons == BoxButtons::Ok) return 0;
    // Closing the box without a button (SDL's -1) counts as Cancel.
    for (int i = 0; i < count; ++i)
        if (data[i].buttonid == pressed) return pressed;
    return cancelResult;
}

}  // namespace kestrel::sdl

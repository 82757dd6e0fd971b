#include "toolkit/graphics/sdl/window_icon.h"

#include <SDL.h>

#include <map>
#include <utility>

#include "toolkit/graphics/window_icon.h"

namespace kestrel::sdl {

namespace {

// Window id -> size of the icon it was given. Main thread only, like every
// window call.
// Never destroyed: a window may close while the program's globals are
// being destroyed.
std::map<std::uint32_t, std::pair<int, int>>& Given() {
    static auto* given = new std::map<std::uint32_t, std::pair<int, int>>;
    return *given;
}

}  // namespace

bool ApplyGraphicsIcon(SDL_Window* window) {
    const TPixmapPtr icon = GraphicsIcon();
    if (!window || !icon) return false;
    // PF_RGBA8888 keeps the bytes R, G, B, A in memory order, which is what
    // SDL calls RGBA32 on either byte order. The surface only borrows the
    // pixels; SDL copies them into the window's own icon.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon->pixels, icon->width, icon->height, 32, icon->pitch, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return false;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
    Given()[SDL_GetWindowID(window)] = {icon->width, icon->height};
    return true;
}

bool WindowIconSize(std::uint32_t windowId, int& width, int& height) {
    const auto it = Given().find(windowId);
    if (it == Given().end()) {
        width = height = 0;
        return false;
    }
    width = it->second.first;
    height = it->second.second;
    return true;
}

void ForgetWindowIcon(std::uint32_t windowId) { Given().erase(windowId); }

}  // namespace kestrel::sdl

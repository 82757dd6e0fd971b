// Gives SDL windows the graphics icon (toolkit/graphics/window_icon.h) and
// remembers what each window was given, so that the layer can be asked.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace kestrel::sdl {

// Sets the stored graphics icon on the window; nothing when none is set.
// Returns whether an icon was set.
bool ApplyGraphicsIcon(SDL_Window* window);

// The size of the icon set on the window with this id by ApplyGraphicsIcon;
// false (and 0 x 0) when it was given none.
bool WindowIconSize(std::uint32_t windowId, int& width, int& height);

// Forgets the window (called when it is destroyed).
void ForgetWindowIcon(std::uint32_t windowId);

}  // namespace kestrel::sdl

// Reads an SDL window's icon back from the X server. Kept apart from the
// tests: Xlib's macros (None, Status, Bool...) clash with other headers.
#pragma once

#include <vector>

struct SDL_Window;

namespace kestrel {

// The window's _NET_WM_ICON property: width, height, then one 0xAARRGGBB per
// pixel. Empty when the window is not on X11 or has no such property.
std::vector<unsigned long> NetWmIcon(SDL_Window* window);

}  // namespace kestrel

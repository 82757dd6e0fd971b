// A graphics window destroyed from outside the program (`xdotool
// windowclose`, a crashed compositor, some window managers) is a close
// request, not a fatal X error: the X errors that name such a window are
// kept from Xlib's default handler (which prints "BadDrawable" and exits
// with 1), and the window gets a close request, which the message pump
// handles like its close button (AppTerminate, then exit 0 for a program
// that does not ask).
#pragma once

struct SDL_Window;

namespace kestrel::sdl {

// Watches an X11 window of the graphics layer (nothing on other video
// drivers). Installs the X error handler the first time, in front of the
// one in place, which still gets every other error.
void WatchForDestroyedWindow(SDL_Window* window);

// SDL_DestroyWindow for a watched window, also when it is already gone
// (where SDL would wait for ever for the server to unmap it). No close
// request for it afterwards; errors naming it, arriving late, are still
// kept from Xlib's handler.
void DestroyWatchedWindow(SDL_Window* window);

}  // namespace kestrel::sdl

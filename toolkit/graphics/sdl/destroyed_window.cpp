#include "toolkit/graphics/sdl/destroyed_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cstdint>

namespace kestrel::sdl {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

using ErrorHandler = int (*)(Display*, XErrorEvent*);
using SetErrorHandlerFn = ErrorHandler (*)(ErrorHandler);
using PutBackEventFn = int (*)(Display*, XEvent*);

struct Watched {
    unsigned long xid = 0;   // the X window
    std::uint32_t sdlId = 0; // SDL's id for the close request; 0 once closed
    bool gone = false;       // destroyed from outside
};

// The handler runs on the main thread inside Xlib calls: fixed storage, no
// allocation there.
constexpr int kMaxWatched = 32;
Watched g_watched[kMaxWatched];
int g_count = 0;
ErrorHandler g_previous = nullptr;
PutBackEventFn g_putBack = nullptr;
bool g_installed = false;

void RequestClose(std::uint32_t sdlId) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = sdlId;
    SDL_PushEvent(&e);
}

int OnXError(Display* display, XErrorEvent* error) {
    for (int i = 0; i < g_count; ++i) {
        Watched& w = g_watched[i];
        if (w.xid != error->resourceid) continue;
        // The window is gone: ask once for the program to end, then keep
        // every later error about it (the swaps, the destroy at the end).
        if (w.sdlId != 0 && !w.gone) RequestClose(w.sdlId);
        w.gone = true;
        return 0;
    }
    return g_previous ? g_previous(display, error) : 0;
}

bool Install() {
    if (g_installed) return true;
    // SDL has loaded libX11 for its X11 driver: take it from there rather
    // than linking it into every program of the toolkit.
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11) return false;
    auto set = reinterpret_cast<SetErrorHandlerFn>(dlsym(x11, "XSetErrorHandler"));
    if (!set) return false;
    g_putBack = reinterpret_cast<PutBackEventFn>(dlsym(x11, "XPutBackEvent"));
    g_previous = set(OnXError);
    g_installed = true;
    return true;
}

Watched* Find(unsigned long xid) {
    for (int i = 0; i < g_count; ++i)
        if (g_watched[i].xid == xid) return &g_watched[i];
    return nullptr;
}

bool X11Info(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

unsigned long XWindowOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    return X11Info(window, info) ? info.info.x11.window : 0;
}

}  // namespace

void WatchForDestroyedWindow(SDL_Window* window) {
    const unsigned long xid = XWindowOf(window);
    if (xid == 0 || !Install()) return;
    Watched* w = Find(xid);
    if (!w) {
        if (g_count == kMaxWatched) {
            // Reuse the slot of a window closed long ago.
            for (int i = 0; i < g_count && !w; ++i)
                if (g_watched[i].sdlId == 0) w = &g_watched[i];
            if (!w) return;
        } else {
            w = &g_watched[g_count++];
        }
    }
    w->xid = xid;
    w->sdlId = SDL_GetWindowID(window);
    w->gone = false;
}

void DestroyWatchedWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    Watched* w = X11Info(window, info) ? Find(info.info.x11.window) : nullptr;
    if (w) {
        w->sdlId = 0;
        if (w->gone && g_putBack) {
            // SDL hides a shown window before destroying it and waits for
            // the server's UnmapNotify, which never comes for a window that
            // no longer exists: hand it one. Left unread, it names a window
            // SDL no longer knows and is ignored.
            XEvent e{};
            e.xunmap.type = UnmapNotify;
            e.xunmap.display = info.info.x11.display;
            e.xunmap.event = info.info.x11.window;
            e.xunmap.window = info.info.x11.window;
            g_putBack(info.info.x11.display, &e);
        }
    }
    SDL_DestroyWindow(window);
}

#else

void WatchForDestroyedWindow(SDL_Window*) {}
void DestroyWatchedWindow(SDL_Window* window) { SDL_DestroyWindow(window); }

#endif

}  // namespace kestrel::sdl

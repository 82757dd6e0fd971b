// The native window and GL context layer over SDL2: windows with an OpenGL
// compatibility context, full-screen mode setting with its fall-back to a
// scaled borderless desktop window, swap interval and buffer swaps.
// A window's picture keeps the size the program asked for: where the
// window's drawable is of another size (a fitted or resized window, the
// full-screen fall-back), the picture is drawn into an offscreen target
// and scaled, letter-boxed, at each swap; where it is exactly the picture's
// size, the picture is drawn straight into the window.
#include "toolkit/graphics/gl_context.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <string>

#include "toolkit/core/app.h"
#include "toolkit/core/error.h"
#include "toolkit/core/fault_report.h"
#include "toolkit/core/quiet_stderr.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/sdl/destroyed_window.h"
#include "toolkit/graphics/sdl/fault_box.h"
#include "toolkit/graphics/sdl/full_screen_keys.h"
#include "toolkit/graphics/sdl/gl_library_preload.h"
#include "toolkit/graphics/sdl/offscreen_target.h"
#include "toolkit/graphics/sdl/window_fit.h"
#include "toolkit/graphics/sdl/window_icon.h"
#include "toolkit/graphics/startup_hints.h"
#include "toolkit/graphics/window_options.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/sdl/sdl_system_driver.h"

namespace kestrel {

struct GLContext {
    GLContext* next = nullptr;
    int mode = CONTEXT_WINDOW;
    int width = 0, height = 0;  // the picture's size
    int depth = 0;
    int hertz = 0;
    int flags = 0;
    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    bool ownsWindow = true;
    int interval = -1;  // swap interval last set on this context
    sdl::OffscreenTarget offscreen;  // while the drawable is not the picture's size
    bool fixedPicture = true;  // the picture keeps width x height (all but attached)
    bool fullScreen = false;   // shown full screen (real mode or covering the desktop)
    bool realMode = false;     // full screen in a display mode of the picture's size
    sdl::Rect windowed;        // the window's place before it went full screen
    bool managedFullScreen = false;  // full screen asked of the window manager
    bool resizable = true;     // the window may be resized (not WindowSizing::Exact)
    sdl::FullScreenKeys keys;
};

namespace {

GLContext* g_list = nullptr;
GLContext* g_current = nullptr;
SDL_Window* g_fullScreenWindow = nullptr;

void Fail(const std::string& what) { SetGraphicsError(what + ": " + SDL_GetError()); }

// Opens SDL's video. Left to itself SDL falls back to its offscreen driver
// when there is no X11 or Wayland display, and the program would draw into
// nothing; so unless SDL_VIDEODRIVER names a driver, only the drivers of a
// real display are tried, and when none opens, SDL's reasons are kept.
bool EnsureVideo() {
    sdl::FinishGLPreload();
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen && *chosen) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        Fail(std::string("no display could be opened with ") + chosen);
        return false;
    }
    std::string reasons;
    const int n = SDL_GetNumVideoDrivers();
    for (int i = 0; i < n; ++i) {
        const std::string name = SDL_GetVideoDriver(i);
        if (name == "offscreen" || name == "dummy" || name == "evdev") continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, name.c_str());
        int opened = -1;
        {
            // A display system that is not there has its library print
            // its own failure; the outcome is reported in one line.
            QuietStderr quiet;
            opened = SDL_InitSubSystem(SDL_INIT_VIDEO);
        }
        if (opened == 0) return true;
        reasons += (reasons.empty() ? "" : "; ") + name + ": " + SDL_GetError();
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
    SetGraphicsError("no display could be opened (" + reasons + ")");
    return false;
}

void SetPixelFormat(int flags, bool accum) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    // One bit each: the system picks the nearest real format.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (flags & GRAPHICS_BACKBUFFER) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, (flags & GRAPHICS_ALPHABUFFER) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (flags & GRAPHICS_DEPTHBUFFER) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & GRAPHICS_STENCILBUFFER) ? 1 : 0);
    const int a = accum && (flags & GRAPHICS_ACCUMBUFFER) ? 1 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, a);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, a);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, a);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, a);
}

int BitsPerPixel(Uint32 format) {
    const int bytes = SDL_BYTESPERPIXEL(format);
    return bytes >= 3 ? bytes * 8 : static_cast<int>(SDL_BITSPERPIXEL(format));
}

// A display mode of exactly width x height x depth (any rate when hertz is
// 0); false when the display has none.
bool FindMode(int width, int height, int depth, int hertz, SDL_DisplayMode& out) {
    const int n = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < n; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        if (m.w != width || m.h != height) continue;
        if (depth >= 16 && BitsPerPixel(m.format) != depth && !(depth == 32 && BitsPerPixel(m.format) == 24))
            continue;
        if (hertz && m.refresh_rate != hertz) continue;
        out = m;
        return true;
    }
    return false;
}

void Rebind() {
    if (g_current)
        SDL_GL_MakeCurrent(g_current->window, g_current->gl);
    else
        SDL_GL_MakeCurrent(nullptr, nullptr);
    if (g_current) g_current->offscreen.Bind();
}

void ApplyInterval(GLContext* c, int interval) {
    if (c->interval == interval) return;
    c->interval = interval;
    SetSwapInterval(interval);
}

GLContext* FindByWindow(std::uintptr_t id) {
    for (GLContext* c = g_list; c; c = c->next)
        if (SDL_GetWindowID(c->window) == id) return c;
    return nullptr;
}

// Where the picture lies in the window, in window coordinates (those of
// mouse events: on a HiDPI display fewer than the drawable's pixels).
sdl::Letterbox PictureInWindow(const GLContext* c) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(c->window, &ww, &wh);
    return sdl::FitLetterbox(c->width, c->height, ww, wh);
}

// MoveMouse of the system driver: picture to window coordinates.
void PictureToWindow(std::uintptr_t window, int& x, int& y) {
    const GLContext* c = FindByWindow(window);
    if (!c || !c->offscreen.active()) return;
    sdl::PictureToWindow(PictureInWindow(c), c->width, c->height, x, y);
}

// The usable desktop area: the display less the panels, where the desktop
// says; else the whole display.
sdl::Rect UsableArea() {
    SDL_Rect r{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0)
        SDL_GetDisplayBounds(0, &r);
    return {r.x, r.y, r.w, r.h};
}

sdl::Frame WindowFrame(SDL_Window* w) {
    sdl::Frame f;
    if (SDL_GetWindowBordersSize(w, &f.top, &f.left, &f.bottom, &f.right) != 0) return {};
    return f;
}

void PlaceWindow(SDL_Window* w, const sdl::Rect& r) {
    SDL_SetWindowSize(w, r.w, r.h);
    SDL_SetWindowPosition(w, r.x, r.y);
}

// Runs f with c's context current, then binds back what was current.
template <typename F>
void WithContext(GLContext* c, F f) {
    if (c == g_current) {
        f();
        return;
    }
    SDL_GL_MakeCurrent(c->window, c->gl);
    f();
    Rebind();
}

// Draws straight into the window while its drawable is exactly the
// picture's size (the cheapest way, on a software renderer too); through
// the offscreen target, scaled, otherwise.
void MatchDrawable(GLContext* c) {
    if (!c->fixedPicture) return;
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(c->window, &dw, &dh);
    const bool direct = dw == c->width && dh == c->height;
    if (direct == !c->offscreen.active()) return;
    WithContext(c, [c, direct] {
        if (direct)
            c->offscreen.Destroy();
        else
            c->offscreen.Create(c->width, c->height);
    });
}

// The full-screen fall-back's window: borderless, at the desktop's origin
// and size. (SDL's desktop full screen relies on a window manager to size
// the window; without one, as on Xvfb, the window keeps the requested size
// while SDL reports the desktop's, and the picture lands out of place.)
void CoverDesktop(SDL_Window* w) {
    SDL_Rect desktop{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &desktop);
    SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowResizable(w, SDL_FALSE);
    SDL_SetWindowBordered(w, SDL_FALSE);
    SDL_SetWindowPosition(w, desktop.x, desktop.y);
    SDL_SetWindowSize(w, desktop.w, desktop.h);
}

// A titled, resizable window at the largest size that shows the picture
// whole on the usable desktop, frame included.
sdl::Rect FittedWindow(const GLContext* c) {
    return sdl::FitWindow(c->width, c->height, UsableArea(), WindowFrame(c->window));
}

// Once a new window is on the screen its frame is known (none without a
// window manager): the window shrinks where the frame would not fit.
void FitToFrame(GLContext* c) {
    SDL_PumpEvents();  // the frame's extents come with the mapping
    const sdl::Frame f = WindowFrame(c->window);
    if (f.top == 0 && f.left == 0 && f.bottom == 0 && f.right == 0) return;
    PlaceWindow(c->window, FittedWindow(c));
    MatchDrawable(c);
}

// Whether a window manager frames the window (a bare X server does not).
bool Framed(SDL_Window* w) {
    const sdl::Frame f = WindowFrame(w);
    return f.top != 0 || f.left != 0 || f.bottom != 0 || f.right != 0;
}

// Alt+Return / F11. Full screen covers the desktop with the picture
// letter-boxed (the display's mode stays); back in a window, the window
// returns to where it was. Under a window manager the manager does both
// (its full-screen state): moving a framed window by hand while its frame
// comes and goes lands it off by the frame, and further off each time.
// Without one the window is made borderless and placed over the desktop,
// and put back by hand.
void ToggleFullScreen(GLContext* c) {
    SDL_Window* w = c->window;
    if (!c->fullScreen) {
        int x = 0, y = 0, ww = 0, wh = 0;
        SDL_GetWindowPosition(w, &x, &y);
        SDL_GetWindowSize(w, &ww, &wh);
        c->windowed = {x, y, ww, wh};
        c->managedFullScreen =
            Framed(w) && SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
        if (!c->managedFullScreen) CoverDesktop(w);
        c->fullScreen = true;
    } else if (c->managedFullScreen) {
        SDL_SetWindowFullscreen(w, 0);
        c->managedFullScreen = false;
        c->fullScreen = false;
    } else {
        if (c->realMode) {
            // SDL gives the desktop its mode back.
            SDL_SetWindowFullscreen(w, 0);
            c->realMode = false;
            if (g_fullScreenWindow == w) g_fullScreenWindow = nullptr;
        }
        SDL_SetWindowBordered(w, SDL_TRUE);
        // Back as it was opened: an exact-size window stays fixed.
        SDL_SetWindowResizable(w, c->resizable ? SDL_TRUE : SDL_FALSE);
        PlaceWindow(w, c->windowed.w > 0 ? c->windowed : FittedWindow(c));
        c->fullScreen = false;
    }
    MatchDrawable(c);
}

// The window procedure of graphics windows: the full-screen keys are the
// window's own; every other message goes to the translator (mouse points
// in the picture's coordinates); then the full-screen focus rules.
void GraphicsWindowProc(const PlatformMessage& message) {
    GLContext* c = FindByWindow(message.window);
    if (!c) return;
    switch (c->fixedPicture && FullScreenKeysEnabled() ? c->keys.Take(message)
                                                       : sdl::FullScreenKeys::Action::Pass) {
    case sdl::FullScreenKeys::Action::Toggle:
        ToggleFullScreen(c);
        return;
    case sdl::FullScreenKeys::Action::Swallow:
        return;
    case sdl::FullScreenKeys::Action::Pass:
        break;
    }
    PlatformMessage m = message;
    m.clientWidth = c->width;
    m.clientHeight = c->height;
    if (c->offscreen.active())
        sdl::WindowToPicture(PictureInWindow(c), c->width, c->height, m.x, m.y);
    TranslateMessage(m, nullptr);

    if (!c->realMode) return;
    if (m.kind == MessageKind::Activate && g_fullScreenWindow != c->window) {
        // SDL restores the mode of a full-screen window as it regains focus.
        if (!(SDL_GetWindowFlags(c->window) & SDL_WINDOW_FULLSCREEN) &&
            SDL_SetWindowFullscreen(c->window, SDL_WINDOW_FULLSCREEN) != 0)
            RuntimeError("GLGraphicsDriver failed to set display mode");
        g_fullScreenWindow = c->window;
    } else if ((m.kind == MessageKind::Deactivate || m.kind == MessageKind::Destroy) &&
               g_fullScreenWindow == c->window) {
        // SDL gives the desktop its mode back and minimises the window.
        GLContext* was = g_current;
        if (was != c) SDL_GL_MakeCurrent(c->window, c->gl);
        SDL_GL_SetSwapInterval(0);
        c->interval = 0;
        if (was != c) Rebind();
        g_fullScreenWindow = nullptr;
    }
}

SDL_Window* CreateFullScreenWindow(int width, int height, int depth, int hertz, int& interval) {
    SDL_DisplayMode mode;
    bool found = false;
    interval = 0;
    if (hertz && FindMode(width, height, depth, hertz, mode)) {
        found = true;
        interval = 1;
    } else if (FindMode(width, height, depth, 0, mode)) {
        found = true;
    }
    if (!found) return nullptr;
    SDL_Window* w = SDL_CreateWindow(AppTitle.c_str(), SDL_WINDOWPOS_CENTERED,
                                     SDL_WINDOWPOS_CENTERED, width, height,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                                         SDL_WINDOW_FULLSCREEN);
    if (!w) return nullptr;
    if (SDL_SetWindowDisplayMode(w, &mode) != 0) {
        SDL_DestroyWindow(w);
        return nullptr;
    }
    return w;
}

SDL_Window* CreateDesktopWindow() {
    SDL_Rect desktop{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(0, &desktop) != 0) return nullptr;
    return SDL_CreateWindow(AppTitle.c_str(), desktop.x, desktop.y, desktop.w, desktop.h,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
}

}  // namespace

GLContext* GLCreateContext(int width, int height, int depth, int hertz, int flags) {
    if (width <= 0 || height <= 0) {
        SetGraphicsError("invalid graphics size");
        return nullptr;
    }
    if (!EnsureVideo()) return nullptr;

    SDL_Window* window = nullptr;
    int mode = CONTEXT_DISPLAY;
    int interval = 0;
    bool fallBack = false;
    bool exact = false;  // a window of exactly width x height (WindowSizing::Exact)
    SetPixelFormat(flags, true);
    if (depth == 0) {
        mode = CONTEXT_WINDOW;
        // The frame is not known before the window is on the screen; it is
        // taken into account once it is (FitToFrame).
        exact = GetWindowSizing() == WindowSizing::Exact;
        const sdl::Rect r = exact ? sdl::Rect{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                              width, height}
                                  : sdl::FitWindow(width, height, UsableArea(), sdl::Frame{});
        window = SDL_CreateWindow(AppTitle.c_str(), r.x, r.y, r.w, r.h,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI |
                                      (exact ? 0 : SDL_WINDOW_RESIZABLE));
        if (!window) {
            Fail("the window could not be created");
            return nullptr;
        }
    } else {
        window = CreateFullScreenWindow(width, height, depth, hertz, interval);
        if (!window) {
            // The display cannot take the mode (Xvfb, many Wayland
            // desktops): a borderless desktop-sized window shows the
            // picture scaled instead of failing.
            fallBack = true;
            window = CreateDesktopWindow();
            if (!window) {
                Fail("the full-screen window could not be created");
                return nullptr;
            }
        }
    }

    SDL_GLContext gl = SDL_GL_CreateContext(window);
    if (!gl && (flags & GRAPHICS_ACCUMBUFFER)) {
        SetPixelFormat(flags, false);  // many formats have no accumulation buffer
        gl = SDL_GL_CreateContext(window);
    }
    if (!gl) {
        Fail("no OpenGL context could be made");
        SDL_DestroyWindow(window);
        Rebind();
        return nullptr;
    }

    auto* c = new GLContext();
    c->mode = mode;
    c->depth = depth;
    c->hertz = hertz;
    c->flags = flags;
    c->window = window;
    c->resizable = !exact;
    c->gl = gl;
    c->width = width;
    c->height = height;
    int drawableW = 0, drawableH = 0;
    SDL_GL_GetDrawableSize(window, &drawableW, &drawableH);
    if (mode == CONTEXT_DISPLAY && !fallBack && (drawableW != width || drawableH != height)) {
        // The mode was not really taken: scale the picture instead.
        fallBack = true;
        CoverDesktop(window);
        SDL_GL_GetDrawableSize(window, &drawableW, &drawableH);
    }
    c->fullScreen = mode == CONTEXT_DISPLAY;
    c->realMode = mode == CONTEXT_DISPLAY && !fallBack;
    // The new context is current (SDL made it so).
    if ((drawableW != width || drawableH != height) && !c->offscreen.Create(width, height)) {
        // No framebuffer objects: draw into the window as it is.
        c->width = drawableW;
        c->height = drawableH;
        c->fixedPicture = false;
    }

    c->next = g_list;
    g_list = c;
    sdl::ApplyGraphicsIcon(window);  // before showing: the desktop reads it on mapping
    if (mode == CONTEXT_WINDOW && !exact)
        SDL_SetWindowMinimumSize(window, std::max(1, width / 4), std::max(1, height / 4));
    SDL_ShowWindow(window);
    if (mode == CONTEXT_WINDOW && !exact) FitToFrame(c);
    WarnIfHeadlessSystemDriver();
    sdl::ReleaseGLPreload();
    SetWindowProcedure(SDL_GetWindowID(window), GraphicsWindowProc);
    sdl::WatchForDestroyedWindow(window);
    SetFaultBox(sdl::ShowFaultBox);
    sdl::SetPictureToWindowMapper(PictureToWindow);
    if (mode == CONTEXT_DISPLAY && !fallBack) {
        g_fullScreenWindow = window;
        c->interval = interval;
        SDL_GL_SetSwapInterval(interval);
    }
    // SDL made the new context current; the current context stays what
    // GLSetCurrent last bound.
    Rebind();
    return c;
}

GLContext* GLAttachContext(std::intptr_t window, int flags) {
    if (!EnsureVideo()) return nullptr;
    SDL_Window* w = SDL_GetWindowFromID(static_cast<Uint32>(window));
    if (!w) {
        Fail("no such window");
        return nullptr;
    }
    SetPixelFormat(flags, true);
    SDL_GLContext gl = SDL_GL_CreateContext(w);
    if (!gl) {
        Fail("no OpenGL context could be made");
        Rebind();
        return nullptr;
    }
    auto* c = new GLContext();
    c->mode = CONTEXT_ATTACHED;
    c->fixedPicture = false;  // the picture follows the window's size
    c->flags = flags;
    c->window = w;
    c->gl = gl;
    c->ownsWindow = false;
    SDL_GL_GetDrawableSize(w, &c->width, &c->height);
    c->next = g_list;
    g_list = c;
    Rebind();
    return c;
}

void GLContextSettings(GLContext* c, int& width, int& height, int& depth, int& hertz,
                       int& flags) {
    if (!c) {
        width = height = depth = hertz = flags = 0;
        return;
    }
    if (c->mode == CONTEXT_ATTACHED) SDL_GL_GetDrawableSize(c->window, &c->width, &c->height);
    width = c->width;
    height = c->height;
    depth = c->depth;
    hertz = c->hertz;
    flags = c->flags;
}

void GLSetCurrent(GLContext* c) {
    if (c == g_current) return;
    g_current = c;
    Rebind();
}

void GLCloseContext(GLContext* c) {
    if (!c) return;
    for (GLContext** p = &g_list; *p; p = &(*p)->next) {
        if (*p == c) {
            *p = c->next;
            break;
        }
    }
    if (c == g_current) GLSetCurrent(nullptr);
    if (c->offscreen.active()) {
        SDL_GL_MakeCurrent(c->window, c->gl);
        c->offscreen.Destroy();
        Rebind();
    }
    SDL_GL_DeleteContext(c->gl);
    RemoveWindowProcedure(SDL_GetWindowID(c->window));
    if (g_fullScreenWindow == c->window) g_fullScreenWindow = nullptr;
    if (c->ownsWindow) {
        sdl::ForgetWindowIcon(SDL_GetWindowID(c->window));
        sdl::DestroyWatchedWindow(c->window);
    }
    if (!g_list) SetFaultBox(nullptr);
    delete c;
}

void GLSwapBuffers(int sync) {
    GLContext* c = g_current;
    if (!c) return;
    ApplyInterval(c, sync != 0 ? 1 : 0);
    if (c->offscreen.active()) {
        int ww = 0, wh = 0;
        SDL_GL_GetDrawableSize(c->window, &ww, &wh);
        c->offscreen.PresentTo(ww, wh);
        SDL_GL_SwapWindow(c->window);
        c->offscreen.Bind();
    } else {
        SDL_GL_SwapWindow(c->window);
    }
    // A resized window: the next picture is drawn the way that fits it.
    MatchDrawable(c);
}

int GLEnumModes(int* buffer, int max) {
    if (!EnsureVideo()) return 0;
    int stored = 0;
    const int n = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < n && stored < max; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) break;
        const int bpp = BitsPerPixel(m.format);
        if (bpp < 16) continue;
        buffer[stored * 4] = m.w;
        buffer[stored * 4 + 1] = m.h;
        buffer[stored * 4 + 2] = bpp;
        buffer[stored * 4 + 3] = m.refresh_rate;
        ++stored;
    }
    return stored;
}

void SetSwapInterval(int interval) {
    // Refused by some drivers (and ignored by Xvfb and the offscreen
    // driver); Flip's frame pacing covers that.
    SDL_GL_SetSwapInterval(interval);
}

int GLContextMode(const GLContext* c) { return c ? c->mode : 0; }
bool GLContextScaled(const GLContext* c) { return c && c->offscreen.active(); }
std::uintptr_t GLContextWindow(const GLContext* c) { return c ? SDL_GetWindowID(c->window) : 0; }

void GLCurrentSize(int& width, int& height) {
    width = g_current ? g_current->width : 0;
    height = g_current ? g_current->height : 0;
}

unsigned GLDrawFramebuffer() { return g_current ? g_current->offscreen.framebuffer() : 0; }

void GLBindDrawFramebuffer() {
    if (g_current) g_current->offscreen.Bind();
}

}  // namespace kestrel

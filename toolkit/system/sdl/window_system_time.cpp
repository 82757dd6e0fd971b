#include "toolkit/system/sdl/window_system_time.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace kestrel::sdl {

void EnableWindowSystemEvents() { SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE); }

std::optional<WindowSystemStamp> ReadWindowSystemStamp(const SDL_Event& e) {
    if (e.type != SDL_SYSWMEVENT || !e.syswm.msg) return std::nullopt;
    WindowSystemStamp stamp;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (e.syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent& x = e.syswm.msg->msg.x11.event;
        switch (x.type) {
        case KeyPress:
            return WindowSystemStamp{WindowSystemStamp::Kind::KeyDown, static_cast<std::uint32_t>(x.xkey.time)};
        case KeyRelease:
            return WindowSystemStamp{WindowSystemStamp::Kind::KeyUp, static_cast<std::uint32_t>(x.xkey.time)};
        case ButtonPress:
            return WindowSystemStamp{WindowSystemStamp::Kind::ButtonDown,
                                     static_cast<std::uint32_t>(x.xbutton.time)};
        case ButtonRelease:
            return WindowSystemStamp{WindowSystemStamp::Kind::ButtonUp,
                                     static_cast<std::uint32_t>(x.xbutton.time)};
        default:
            break;
        }
    }
#endif
    // Another raw event: it belongs to no key or button event.
    return stamp;
}

bool StampBelongsTo(const WindowSystemStamp& stamp, const SDL_Event& e) {
    using K = WindowSystemStamp::Kind;
    switch (e.type) {
    case SDL_KEYDOWN: return stamp.kind == K::KeyDown;
    case SDL_KEYUP: return stamp.kind == K::KeyUp;
    case SDL_MOUSEBUTTONDOWN: return stamp.kind == K::ButtonDown;
    case SDL_MOUSEBUTTONUP: return stamp.kind == K::ButtonUp;
    // X reports a wheel notch as a press of buttons 4 to 7.
    case SDL_MOUSEWHEEL: return stamp.kind == K::ButtonDown;
    default: return false;
    }
}

}  // namespace kestrel::sdl

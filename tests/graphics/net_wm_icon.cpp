#include "net_wm_icon.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kestrel {

std::vector<unsigned long> NetWmIcon(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    Display* display = info.info.x11.display;
    const Atom atom = XInternAtom(display, "_NET_WM_ICON", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(display, info.info.x11.window, atom, 0, 1L << 20, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data && format == 32) {
        // Xlib hands 32-bit items back as longs.
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        out.assign(items, items + count);
    }
    if (data) XFree(data);
    return out;
}

}  // namespace kestrel

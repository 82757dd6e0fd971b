#include "toolkit/graphics/sdl/full_screen_keys.h"

#include "toolkit/system/event.h"

namespace kestrel::sdl {

FullScreenKeys::Action FullScreenKeys::Take(const PlatformMessage& m) {
    const bool down = m.kind == MessageKind::KeyDown;
    if (!down && m.kind != MessageKind::KeyUp) return Action::Pass;
    bool* held = nullptr;
    const bool altReturn = down && !m.repeat && (m.keyMods & kModAlt);
    if (m.vkey == kVirtualKeyF11)
        held = &f11Held_;
    else if (m.vkey == kVirtualKeyReturn && (returnHeld_ || altReturn))
        held = &returnHeld_;
    if (!held) return Action::Pass;
    if (!down) {
        *held = false;
        return Action::Swallow;
    }
    const bool first = !m.repeat && !*held;
    *held = true;
    return first ? Action::Toggle : Action::Swallow;
}

}  // namespace kestrel::sdl

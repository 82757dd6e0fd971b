// The keys that switch a graphics window between full screen and a window:
// Alt+Return and F11. They belong to the window, not to the program: their
// presses, repeats and releases never become key events.
#pragma once

#include "toolkit/system/message_translator.h"

namespace kestrel::sdl {

inline constexpr int kVirtualKeyReturn = 13;
inline constexpr int kVirtualKeyF11 = 122;

class FullScreenKeys {
public:
    enum class Action { Pass, Swallow, Toggle };

    // What to do with a message of the window: Toggle on a first press of
    // a toggle key, Swallow for its repeats and for its release (also when
    // Alt went up before Return), Pass for everything else.
    Action Take(const PlatformMessage& message);

private:
    bool returnHeld_ = false;  // Return went down with Alt and is not up yet
    bool f11Held_ = false;
};

}  // namespace kestrel::sdl

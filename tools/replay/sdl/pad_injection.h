// Gamepads for scripted play: SDL's virtual joysticks, which SDL's
// game-controller layer reads as real pads (hot-plug events included), so
// the game sees them through the path a pad plugged into the machine takes.
#pragma once

#include <memory>

#include "toolkit/system/pad_input.h"

namespace virexo::replay::sdl {

class VirtualPad {
public:
    // Plugs a new pad in (SDL reports it to the game at the next pump);
    // null when SDL cannot make one.
    static std::unique_ptr<VirtualPad> Attach();
    // Unplugs it.
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Holds or lets go of a button (a d-pad direction included; the stick
    // directions are moved with Move).
    void Hold(kestrel::PadButton button, bool down);
    // A press and its release, both reported before the next update.
    void Tap(kestrel::PadButton button);
    // Moves an axis to a position as a pad reports it: a stick -32768..32767,
    // a trigger 0 (let go) to 32767 (pulled all the way).
    void Move(kestrel::PadAxis axis, int value);

private:
    VirtualPad() = default;
    struct Device;
    std::unique_ptr<Device> device_;
};

}  // namespace virexo::replay::sdl

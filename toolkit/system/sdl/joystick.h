// The joystick module: the attached joysticks, enumerated once at start-up,
// and the gamepads, read through SDL's game-controller API as they come and
// go (see game_controllers.h and pad_input.h).
#pragma once

#include <string>

namespace kestrel {

// Enumerates up to 256 devices, keeping those that answer a position query,
// then starts the gamepads' polled input.
void InitJoystick();
// The number of joysticks found at start-up.
int JoyCount();
// The name of joystick index (0..JoyCount()-1); "" for another index.
std::string JoyName(int index);

}  // namespace kestrel

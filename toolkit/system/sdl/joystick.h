// The joystick module: the attached joysticks, enumerated once at start-up.
// Nothing polls them (the game reads none).
#pragma once

#include <string>

namespace kestrel {

// Enumerates up to 256 devices, keeping those that answer a position query.
void InitJoystick();
int JoyCount();
std::string JoyName(int index);

}  // namespace kestrel

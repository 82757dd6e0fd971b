// Injection of key presses into the platform's event queue, as a keyboard
// would send them to the game's window.
#pragma once

namespace virexo::replay::sdl {

// Queues a key-down and a key-up of the key with this virtual-key code for
// the current graphics window. Returns false for a key with no platform key.
bool InjectKeyTap(int vkey);

// Queues a key-down and a key-up stamped with the moments they happened
// (µs of the steady clock, as SteadyMicros), for tests of input timing.
bool InjectKeyTapAt(int vkey, long long downUs, long long upUs);

// Queues the current graphics window's loss (or regain) of the keyboard
// focus, as the window manager reports it when another window is chosen.
void InjectFocusChange(bool gained);

// Whether the current graphics window has the keyboard focus.
bool WindowHasFocus();

}  // namespace virexo::replay::sdl

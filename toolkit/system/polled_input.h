// Polled keyboard and mouse input: a hook on the event chain counts key and
// button presses, and the program reads (and clears) them once per frame.
// Every query pumps the system's messages first.
//
// Keys are 0..255 (virtual-key codes, KEY_* of keys.h), buttons 0..3
// (MOUSE_LEFT 1, MOUSE_RIGHT 2, MOUSE_MIDDLE 3); neither is validated beyond
// staying inside the tables.
#pragma once

#include "toolkit/core/object.h"

namespace kestrel {

// Attaches the polled-input hook (if not attached yet), accepting events
// from source only (null: from any source); flushes keys and mouse.
void EnablePolledInput(ObjectPtr source = nullptr);
// Detaches the hook and flushes keys and mouse.
void DisablePolledInput();
// Whether the polled-input hook is attached (Graphics attaches it).
bool PolledInputEnabled();

// The presses of key since the last KeyHit of it (the count is cleared).
int KeyHit(int key);
// 1 while key is held, else 0.
int KeyDown(int key);
// The next typed character (its code) of the queue of 256, or 0 when none.
int GetChar();
// Forgets every key press, held key and typed character.
void FlushKeys();

// The presses of button since the last MouseHit of it (cleared).
int MouseHit(int button);
// 1 while button is held, else 0.
int MouseDown(int button);
// The mouse x in window pixels (see VirtualMouseX for virtual units).
int MouseX();
// The mouse y in window pixels, downwards.
int MouseY();
// The wheel position: notches turned since the start, away from the user
// positive.
int MouseZ();
// Pixels the mouse moved along x since the last MouseXSpeed.
int MouseXSpeed();
// Pixels the mouse moved along y since the last MouseYSpeed.
int MouseYSpeed();
// Wheel notches since the last MouseZSpeed.
int MouseZSpeed();
// Forgets every button press and held button.
void FlushMouse();

// Blocks until a key is pressed; the lowest key code hit (keys are flushed
// first).
int WaitKey();
// Blocks until a character is typed; its code (see GetChar).
int WaitChar();
// Blocks until a button is pressed; the lowest one hit (see WaitKey).
int WaitMouse();

// 1 between an AppSuspend and the next AppResume.
int AppSuspended();
// The AppSuspends (focus lost) since the last call; the count is cleared.
// Read once per update, it tells a loss that was over before the update.
int AppSuspendHit();
/// 1 when the program's end was requested since the last call (its window's
/// close button, Alt+F4, a destroyed window, SIGTERM, SIGINT or SIGHUP),
/// else 0; the flag is cleared. A program that calls it decides how it ends
/// (its loop ends and main returns); one that never does is ended by the
/// toolkit, with status 0 or 128 + signal: see terminate_policy.h.
int AppTerminate();

}  // namespace kestrel

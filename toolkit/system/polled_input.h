// Polled keyboard and mouse input: a hook on the event chain counts key and
// button presses, and the program reads (and clears) them once per frame.
// Every query pumps the system's messages first.
#pragma once

#include "toolkit/core/object.h"

namespace kestrel {

// Attaches the polled-input hook (if not attached yet), accepting events
// from source only (null: from any source); flushes keys and mouse.
void EnablePolledInput(ObjectPtr source = nullptr);
// Detaches the hook and flushes keys and mouse.
void DisablePolledInput();
bool PolledInputEnabled();

// Keys are 0..255 (virtual-key codes), buttons 0..3 (1 left, 2 right,
// 3 middle); neither is validated beyond staying inside the tables.
int KeyHit(int key);
int KeyDown(int key);
int GetChar();
void FlushKeys();

int MouseHit(int button);
int MouseDown(int button);
int MouseX();
int MouseY();
int MouseZ();
int MouseXSpeed();
int MouseYSpeed();
int MouseZSpeed();
void FlushMouse();

// Blocking waits: the lowest key code / button hit, or the next character.
int WaitKey();
int WaitChar();
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

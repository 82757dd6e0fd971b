// Termination requests: a close request on a program window (its close
// button, Alt+F4, the window manager's delete message) and the signals
// SIGTERM, SIGINT and SIGHUP. The message pump handles them on the main
// thread: each raises the AppTerminate event (the flag AppTerminate()
// reads); then, as the terminate policy says (kestrel/system/
// terminate_policy.h), either the program decides or it ends right there
// through the normal path (exit handlers, audio stopped, windows closed)
// with exit code 0 for a close request and 128 + signal for a signal.
#pragma once

namespace kestrel::sdl {

// The same as SetTerminatePolicy(end ? TerminatePolicy::Toolkit
// : TerminatePolicy::Program); kept for programs written before the policy.
void SetEndOnTerminate(bool end);
// TerminateEndsProgram().
bool EndOnTerminate();

// Installs the handlers of the three signals, once. A handler only writes
// the signal's number to a pipe; a thread of this layer reads it, keeps it
// for the pump and calls wake so that a pump blocked in a wait runs.
// Where the pump cannot take it (a modal message box runs its own loop,
// the main thread is stuck, a second signal comes before the first was
// handled, or after one was handed to a program that decides), that thread
// ends the process at once with 128 + signal, as
// the signal itself would have, after a line on standard error; the
// process's children (the process SDL shows a message box from) get the
// signal too, so that no box stays on the screen.
void InstallTerminationSignals(void (*wake)());

// The signal received and not yet handled (0: none); taking it clears it.
int TakeTerminationSignal();

// Set while a modal message box runs its own event loop.
void SetInModalLoop(bool modal);

// The pump's part: emits AppTerminate when emitEvent is set (a close
// request has had it emitted by its window already), then ends the program
// with status when TerminateEndsProgram(); status > 128 is a signal's.
void HandleTermination(int status, bool emitEvent);

}  // namespace kestrel::sdl

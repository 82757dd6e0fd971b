// Who ends the program when its end is requested: a close request on its
// window (the close button, Alt+F4, the window manager's delete message, a
// destroyed window) or the signals SIGTERM, SIGINT and SIGHUP.
//
// Every request first raises the AppTerminate event, so AppTerminate()
// turns true (1) once. What happens next depends on the policy:
//
// - TerminatePolicy::Auto (the default): a program that has called
//   AppTerminate() at least once since it started, with its graphics open,
//   decides: the request returns to its loop, and the code after the loop
//   and main's destructors run. A program that never asks (a loop that only
//   reads keys) is ended by the toolkit right there, through its exit
//   handlers, with exit status 0 for a close request and 128 + signal for a
//   signal (143 for SIGTERM), so that its window can always be closed.
// - TerminatePolicy::Program: the program always decides.
// - TerminatePolicy::Toolkit: the toolkit always ends the program.
//
// A second signal while the first is still being handled (the program's
// loop was told and has not ended yet, or the main thread never pumps)
// ends the process at once with 128 + signal, without the exit handlers.
#pragma once

namespace kestrel {

/// Who ends the program on a close request or a termination signal.
enum class TerminatePolicy {
    Auto,     ///< the program once it has called AppTerminate(); else the toolkit
    Program,  ///< always the program: the request only turns AppTerminate() true
    Toolkit,  ///< always the toolkit: exit 0 (close) or 128 + signal
};

/// Sets who ends the program on a termination request (default Auto). May
/// be called at any time, before or after Startup().
void SetTerminatePolicy(TerminatePolicy policy);
/// The policy set by SetTerminatePolicy().
TerminatePolicy GetTerminatePolicy();

/// Whether a termination request arriving now ends the program through the
/// toolkit: the policy, and under Auto whether the program has asked
/// AppTerminate() with its graphics open. Safe to call from any thread.
bool TerminateEndsProgram();

/// Called by AppTerminate(): from now on, under Auto, the program decides.
/// listening tells whether the AppTerminate event reaches the flag (polled
/// input is attached); a program that asks while nothing can set the flag
/// is not counted as asking.
void NoteAppTerminateAsked(bool listening);

}  // namespace kestrel

// Routines run once when the program ends, newest first.
#pragma once

#include <functional>

namespace kestrel {

// Registers a routine to run at program end. Handlers run in reverse order
// of registration, each exactly once, whichever way the program ends
// normally (End(), leaving main, or std::exit).
void OnEnd(std::function<void()> handler);

// Runs every pending handler, newest first. A handler registered while the
// handlers run is run too. Safe to call again: nothing runs twice.
void RunExitHandlers();

// Ends the program at once with exit code 0, after the exit handlers.
[[noreturn]] void End();
// The same with another exit code (a termination signal's 128 + signal).
[[noreturn]] void EndWithStatus(int status);

}  // namespace kestrel

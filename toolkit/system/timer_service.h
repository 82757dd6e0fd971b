// The periodic timer service: one thread of its own that, for every running
// system timer, calls a function at each period. It stands in for the
// platform's multimedia timers.
#pragma once

namespace kestrel {

using PeriodicCallback = void (*)(int timerId);

// Starts a timer calling callback(id) every periodMs milliseconds on the
// service thread. Returns the new id (never 0), or 0 if periodMs < 1.
int StartPeriodicTimer(int periodMs, PeriodicCallback callback);

// Stops the timer; once this returns, no further call for the id is made.
void KillPeriodicTimer(int timerId);

}  // namespace kestrel

// One frame of a fixed-step game loop: the updates the frame's clock says
// are due, each seeing only the input that happened up to its own moment.
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/system/fixed_step_clock.h"

namespace kestrel {

// Begins a frame of clock at nowUs and runs its updates. Before each update
// but the last, the system driver's event horizon is set to the update's
// moment, so two taps of a key inside one slow frame reach two updates and a
// press and release inside one frame still counts; the last update sees
// every event, and the horizon is cleared when the updates are done (also
// when one throws). Each update is marked with BeginInputUpdate, so where
// event times are unknown or equal an update still sees at most one new
// press of each key and the next one goes to the update after it. Returns
// the updates run.
int RunFixedSteps(FixedStepClock& clock, std::int64_t nowUs, const std::function<void()>& update);

}  // namespace kestrel

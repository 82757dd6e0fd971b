// Periodic timers that count ticks on the main thread.
#pragma once

#include <memory>

#include "toolkit/core/object.h"
#include "toolkit/system/event.h"

namespace kestrel {

class TTimer;
// A shared timer; null is none.
using TTimerPtr = std::shared_ptr<TTimer>;

inline constexpr int kMaxTimers = 16;  // timers that may run at once

// A periodic timer: ticks hertz times a second on the timer thread; each tick
// is counted and emits an event on the main thread (when PollSystem runs).
class TTimer : public Object {
public:
    int Ticks() const;  // the ticks since it was created
    void Stop();        // stops it; its count stays
    // One tick: counts it and emits the timer's event (or a new "TimerTick").
    void Fire();
    // Waits for at least one more message, then until a tick is pending;
    // returns the ticks since the previous Wait (0 when stopped).
    int Wait();

    // Null when 16 timers run already or no system timer can be made.
    static TTimerPtr Create(float hertz, TEventPtr event = nullptr);

private:
    int _ticks = 0;
    int _wticks = 0;
    TTimerPtr _cycle;
    TEventPtr _event;
    int _handle = 0;
};

// Whole milliseconds between ticks: 1000 / hertz truncated; 0 when no
// timer can run at that rate.
int TimerPeriodMs(float hertz);

// A timer ticking hertz times a second (TTimer::Create); each tick emits
// event, or a new "TimerTick" event with the timer as source. Null when 16
// timers run already or no system timer can be made.
TTimerPtr CreateTimer(float hertz, TEventPtr event = nullptr);
// The timer's ticks so far (TNullObjectException for null, as for
// WaitTimer and StopTimer).
int TimerTicks(const TTimerPtr& timer);
// Blocks until the timer ticks; the ticks since the previous WaitTimer (0
// when it is stopped).
int WaitTimer(const TTimerPtr& timer);
// Stops the timer.
void StopTimer(const TTimerPtr& timer);

// Number of timers running (in the active table).
int RunningTimers();

// Initialises the system module; timers need its pump.
void InitTimers();

}  // namespace kestrel

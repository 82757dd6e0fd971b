// Periodic timers that count ticks on the main thread.
#pragma once

#include <memory>

#include "toolkit/core/object.h"
#include "toolkit/system/event.h"

namespace kestrel {

class TTimer;
using TTimerPtr = std::shared_ptr<TTimer>;

inline constexpr int kMaxTimers = 16;

class TTimer : public Object {
public:
    int _ticks = 0;
    int _wticks = 0;
    TTimerPtr _cycle;
    TEventPtr _event;
    int _handle = 0;

    int Ticks() const;
    void Stop();
    // One tick: counts it and emits the timer's event (or a new "TimerTick").
    void Fire();
    // Waits for at least one more message, then until a tick is pending;
    // returns the ticks since the previous Wait (0 when stopped).
    int Wait();

    // Null when 16 timers run already or no system timer can be made.
    static TTimerPtr Create(float hertz, TEventPtr event = nullptr);
};

// Whole milliseconds between ticks: 1000 / hertz truncated; 0 when no
// timer can run at that rate.
int TimerPeriodMs(float hertz);

TTimerPtr CreateTimer(float hertz, TEventPtr event = nullptr);
int TimerTicks(const TTimerPtr& timer);
int WaitTimer(const TTimerPtr& timer);
void StopTimer(const TTimerPtr& timer);

// Number of timers running (in the active table).
int RunningTimers();

// Initialises the system module; timers need its pump.
void InitTimers();

}  // namespace kestrel

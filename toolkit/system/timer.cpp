#include "toolkit/system/timer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/core/run_once.h"
#include "toolkit/system/cross_thread_queue.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/timer_service.h"

namespace kestrel {

namespace {

// The active-timer table: system ids and the timers they keep alive. Only
// the main thread touches it.
std::vector<std::pair<int, TTimerPtr>> g_active;

TTimerPtr FindActive(int id) {
    for (auto& [tid, timer] : g_active)
        if (tid == id) return timer;
    return nullptr;
}

// Main thread, from the pump: a tick posted by the service thread.
void RunTick(const ObjectPtr&, std::intptr_t id) {
    if (TTimerPtr timer = FindActive(static_cast<int>(id))) timer->Fire();
}

// Service thread: only posts the tick to the main thread.
void OnPeriod(int id) { PostToMainThread({RunTick, nullptr, id}); }

}  // namespace

int TimerPeriodMs(float hertz) {
    if (!(hertz > 0.0f)) return 0;
    const double period = 1000.0 / hertz;
    if (period >= 2147483647.0) return 0;
    return static_cast<int>(period);
}

int TTimer::Ticks() const { return _ticks; }

void TTimer::Fire() {
    if (_handle == 0) return;
    ++_ticks;
    if (!_event) {
        auto self = std::static_pointer_cast<TTimer>(shared_from_this());
        TEvent::Create(EventId::TimerTick, self, _ticks)->Emit();
    } else {
        _event->Emit();
    }
}

int TTimer::Wait() {
    if (_handle == 0) return 0;
    int n = 0;
    do {
        WaitSystem();
        n = _ticks - _wticks;
    } while (n == 0 && _handle != 0);
    _wticks += n;
    return n;
}

void TTimer::Stop() {
    if (_handle == 0) return;
    auto it = std::find_if(g_active.begin(), g_active.end(),
                           [&](const auto& entry) { return entry.first == _handle; });
    KillPeriodicTimer(_handle);
    _handle = 0;
    _event.reset();
    if (it != g_active.end()) {
        // The last entry moves into the freed place; dropping the table's
        // reference may end this timer's life, so do it last.
        TTimerPtr keep = std::move(it->second);
        *it = std::move(g_active.back());
        g_active.pop_back();
    }
}

TTimerPtr TTimer::Create(float hertz, TEventPtr event) {
    InitTimers();
    auto timer = std::make_shared<TTimer>();
    if (static_cast<int>(g_active.size()) >= kMaxTimers) return nullptr;
    const int period = TimerPeriodMs(hertz);
    if (period == 0) return nullptr;
    const int id = StartPeriodicTimer(period, OnPeriod);
    if (id == 0) return nullptr;
    g_active.emplace_back(id, timer);
    timer->_event = std::move(event);
    timer->_handle = id;
    return timer;
}

TTimerPtr CreateTimer(float hertz, TEventPtr event) { return TTimer::Create(hertz, std::move(event)); }
int TimerTicks(const TTimerPtr& timer) { return NonNull(timer)->Ticks(); }
int WaitTimer(const TTimerPtr& timer) { return NonNull(timer)->Wait(); }
void StopTimer(const TTimerPtr& timer) { NonNull(timer)->Stop(); }
int RunningTimers() { return static_cast<int>(g_active.size()); }

void InitTimers() {
    static bool done = false;
    RunOnce(done, [] { InitSystem(); });
}

}  // namespace kestrel

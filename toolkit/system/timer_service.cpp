#include "toolkit/system/timer_service.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrel {

namespace {

using Clock = std::chrono::steady_clock;

struct PeriodicTimer {
    int id;
    std::chrono::milliseconds period;
    Clock::time_point due;
    PeriodicCallback callback;
};

class TimerService {
public:
    int Start(int periodMs, PeriodicCallback callback) {
        if (periodMs < 1 || !callback) return 0;
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
        const int id = ++lastId_;
        const auto period = std::chrono::milliseconds(periodMs);
        timers_.push_back({id, period, Clock::now() + period, callback});
        changed_.notify_one();
        return id;
    }

    void Kill(int id) {
        std::unique_lock lock(mutex_);
        std::erase_if(timers_, [id](const PeriodicTimer& t) { return t.id == id; });
        // A callback for this id may be running outside the lock; wait it out
        // so that nothing fires after the kill.
        idle_.wait(lock, [&] { return firing_ != id; });
        changed_.notify_one();
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (timers_.empty()) {
                changed_.wait(lock);
                continue;
            }
            auto next = timers_.front().due;
            for (const auto& t : timers_) next = std::min(next, t.due);
            if (changed_.wait_until(lock, next) != std::cv_status::timeout &&
                Clock::now() < next)
                continue;

            const auto now = Clock::now();
            for (std::size_t i = 0; i < timers_.size(); ++i) {
                if (timers_[i].due > now) continue;
                // One call per elapsed period, as a periodic system timer
                // would make; the schedule does not drift.
                timers_[i].due += timers_[i].period;
                const int id = timers_[i].id;
                const PeriodicCallback cb = timers_[i].callback;
                firing_ = id;
                lock.unlock();
                cb(id);
                lock.lock();
                firing_ = 0;
                idle_.notify_all();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable idle_;
    std::vector<PeriodicTimer> timers_;
    std::thread thread_;
    int lastId_ = 0;
    int firing_ = 0;
};

TimerService& Service() {
    // Never destroyed: its thread may outlive static destruction at exit.
    static auto* service = new TimerService();
    return *service;
}

}  // namespace

int StartPeriodicTimer(int periodMs, PeriodicCallback callback) {
    return Service().Start(periodMs, callback);
}

void KillPeriodicTimer(int timerId) { Service().Kill(timerId); }

}  // namespace kestrel

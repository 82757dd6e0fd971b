#include "toolkit/system/cross_thread_queue.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace kestrel {

namespace {

struct Queue {
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<CrossThreadCall> calls;
};

Queue& TheQueue() {
    // Never destroyed: timer threads may still post while the process exits.
    static auto* q = new Queue();
    return *q;
}

std::atomic<void (*)()> g_waker{nullptr};

}  // namespace

void PostToMainThread(CrossThreadCall call) {
    Queue& q = TheQueue();
    {
        std::lock_guard lock(q.mutex);
        q.calls.push_back(std::move(call));
    }
    q.posted.notify_one();
    if (auto waker = g_waker.load()) waker();
}

int RunPostedCalls() {
    Queue& q = TheQueue();
    std::deque<CrossThreadCall> batch;
    {
        std::lock_guard lock(q.mutex);
        batch.swap(q.calls);
    }
    int ran = 0;
    for (auto& call : batch) {
        if (call.func) call.func(call.object, call.user);
        ++ran;
    }
    return ran;
}

bool WaitForPostedCall(std::chrono::milliseconds timeout) {
    Queue& q = TheQueue();
    std::unique_lock lock(q.mutex);
    return q.posted.wait_for(lock, timeout, [&] { return !q.calls.empty(); });
}

void SetPostWaker(void (*waker)()) { g_waker.store(waker); }

}  // namespace kestrel

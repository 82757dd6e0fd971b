// Calls posted from other threads to run on the main thread when it pumps
// its messages (the private message 0x7001 of the system driver).
#pragma once

#include <chrono>
#include <cstdint>

#include "toolkit/core/object.h"

namespace kestrel {

inline constexpr int kCrossThreadCallMessage = 0x7001;

struct CrossThreadCall {
    void (*func)(const ObjectPtr& object, std::intptr_t user) = nullptr;
    ObjectPtr object;       // released on the main thread once the call has run
    std::intptr_t user = 0;
};

// Any thread: queues the call and wakes a main thread waiting for messages.
void PostToMainThread(CrossThreadCall call);

// Main thread: runs every call queued so far; returns how many ran.
int RunPostedCalls();

// Main thread: blocks until a call is queued or the timeout passes, without
// running it. Returns whether one is queued.
bool WaitForPostedCall(std::chrono::milliseconds timeout);

// A platform message loop that blocks elsewhere sets a function that wakes
// it; it is called on the posting thread after every post.
void SetPostWaker(void (*waker)());

}  // namespace kestrel

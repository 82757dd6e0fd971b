#include "toolkit/core/exit_handlers.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kestrel {

namespace {

std::vector<std::function<void()>>& Handlers() {
    // Never destroyed: handlers may still be run from std::atexit after
    // static destructors have started.
    static auto* handlers = new std::vector<std::function<void()>>();
    return *handlers;
}

void RunAtExit() { RunExitHandlers(); }

// Runs the handlers when the main thread's thread-local objects are
// destroyed. Leaving main or calling std::exit on the main thread destroys
// them before any object of static storage duration, so the handlers still
// find every module's function-local statics (the renderer's state, the
// audio driver list...) alive, whatever order the modules started in and
// whenever those statics were made. std::atexit alone runs the handlers
// after every static made since the first OnEnd is already gone.
struct MainThreadEnd {
    void Arm() {}
    ~MainThreadEnd() { RunExitHandlers(); }
};

bool OnProcessMainThread() { return syscall(SYS_gettid) == getpid(); }

}  // namespace

void OnEnd(std::function<void()> handler) {
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        // The fallback for std::exit called from another thread, which ends
        // the process without destroying the main thread's objects.
        std::atexit(RunAtExit);
    }
    if (OnProcessMainThread()) {
        thread_local MainThreadEnd end;
        end.Arm();
    }
    Handlers().push_back(std::move(handler));
}

void RunExitHandlers() {
    auto& handlers = Handlers();
    while (!handlers.empty()) {
        // Take the handler out before running it, so it runs once even if it
        // ends the program itself.
        auto handler = std::move(handlers.back());
        handlers.pop_back();
        if (handler) handler();
    }
}

void End() { EndWithStatus(0); }

void EndWithStatus(int status) {
    RunExitHandlers();
    std::fflush(nullptr);
    std::exit(status);
}

}  // namespace kestrel

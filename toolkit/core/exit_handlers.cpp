#include "toolkit/core/exit_handlers.h"

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

}  // namespace

void OnEnd(std::function<void()> handler) {
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        std::atexit(RunAtExit);
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

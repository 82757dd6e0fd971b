#include "toolkit/system/terminate_policy.h"

#include <atomic>

namespace kestrel {

namespace {

// Read by the signal thread as well as the main thread.
std::atomic<TerminatePolicy> g_policy{TerminatePolicy::Auto};
std::atomic<bool> g_asked{false};

}  // namespace

void SetTerminatePolicy(TerminatePolicy policy) { g_policy = policy; }

TerminatePolicy GetTerminatePolicy() { return g_policy.load(); }

bool TerminateEndsProgram() {
    switch (g_policy.load()) {
    case TerminatePolicy::Program:
        return false;
    case TerminatePolicy::Toolkit:
        return true;
    case TerminatePolicy::Auto:
        break;
    }
    return !g_asked.load();
}

void NoteAppTerminateAsked(bool listening) {
    if (listening) g_asked = true;
}

}  // namespace kestrel

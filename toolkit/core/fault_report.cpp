#include "toolkit/core/fault_report.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kestrel {

namespace {

std::atomic<FaultBoxFunction> g_box{nullptr};
const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP};

// Bounds of the main thread's stack, to tell a stack overflow apart.
std::uintptr_t g_stackLow = 0;
std::uintptr_t g_stackHigh = 0;

void WriteAll(const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t n = write(STDERR_FILENO, text, left);
        if (n <= 0) return;
        text += n;
        left -= static_cast<std::size_t>(n);
    }
}

bool IsStackFault(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    if (g_stackLow == 0) return false;
    // The guard region lies just below the lowest stack address.
    return a < g_stackLow + 65536 && a + 1024 * 1024 >= g_stackLow;
}

void OnFault(int signo, siginfo_t* info, void*) {
    const bool stack = signo == SIGSEGV && info && IsStackFault(info->si_addr);
    const char* name = FaultName(signo, info ? info->si_code : 0, stack);
    WriteAll("Windows exception: ");
    WriteAll(name);
    WriteAll("\n");
    if (FaultBoxFunction box = g_box.load()) box("Windows exception", name);
    _exit(FaultExitCode(signo));
}

void RecordStackBounds() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
    void* base = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attr, &base, &size) == 0) {
        g_stackLow = reinterpret_cast<std::uintptr_t>(base);
        g_stackHigh = g_stackLow + size;
    }
    pthread_attr_destroy(&attr);
}

}  // namespace

const char* FaultName(int signo, int code, bool stackFault) {
    switch (signo) {
    case SIGSEGV:
        return stackFault ? "EXCEPTION_STACK_OVERFLOW" : "EXCEPTION_ACCESS_VIOLATION";
    case SIGBUS:
        return code == BUS_ADRALN ? "EXCEPTION_DATATYPE_MISALIGNMENT" : "EXCEPTION_IN_PAGE_ERROR";
    case SIGILL:
        return code == ILL_PRVOPC || code == ILL_PRVREG ? "EXCEPTION_PRIV_INSTRUCTION"
                                                        : "EXCEPTION_ILLEGAL_INSTRUCTION";
    case SIGTRAP:
        return code == TRAP_TRACE ? "EXCEPTION_SINGLE_STEP" : "EXCEPTION_BREAKPOINT";
    case SIGFPE:
        switch (code) {
        case FPE_INTDIV: return "EXCEPTION_INT_DIVIDE_BY_ZERO";
        case FPE_INTOVF: return "EXCEPTION_INT_OVERFLOW";
        case FPE_FLTDIV: return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
        case FPE_FLTOVF: return "EXCEPTION_FLT_OVERFLOW";
        case FPE_FLTUND: return "EXCEPTION_FLT_UNDERFLOW";
        case FPE_FLTRES: return "EXCEPTION_FLT_INEXACT_RESULT";
        case FPE_FLTINV: return "EXCEPTION_FLT_INVALID_OPERATION";
        case FPE_FLTSUB: return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
        default: return "EXCEPTION_UNKNOWN";
        }
    default:
        return "EXCEPTION_UNKNOWN";
    }
}

int FaultExitCode(int signo) { return 128 + signo; }

void SetFaultBox(FaultBoxFunction box) { g_box.store(box); }

void InstallFaultHandler() {
    RecordStackBounds();
    (void)g_stackHigh;

    static char* altStack = nullptr;
    if (!altStack) {
        const std::size_t size = 64 * 1024;
        altStack = static_cast<char*>(std::malloc(size));
        if (altStack) {
            stack_t ss{};
            ss.ss_sp = altStack;
            ss.ss_size = size;
            sigaltstack(&ss, nullptr);
        }
    }

    struct sigaction sa {};
    sa.sa_sigaction = OnFault;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals) sigaction(s, &sa, nullptr);
}

}  // namespace kestrel

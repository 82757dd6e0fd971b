#include "toolkit/core/fault_report.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <ctime>

namespace kestrel {

namespace {

std::atomic<FaultBoxFunction> g_box{nullptr};
const int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP};
// How long the box may stay up before the program ends without an answer.
constexpr int kDefaultBoxSeconds = 30;
int g_boxSeconds = kDefaultBoxSeconds;

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

const char* SignalName(int signo) {
    switch (signo) {
    case SIGSEGV: return "SIGSEGV (invalid memory access)";
    case SIGBUS: return "SIGBUS (bus error)";
    case SIGFPE: return "SIGFPE (arithmetic fault)";
    case SIGILL: return "SIGILL (illegal instruction)";
    case SIGTRAP: return "SIGTRAP (breakpoint or trap)";
    default: return "an unknown signal";
    }
}

// "0x" and 16 hexadecimal digits, without the C library (signal handler).
void WriteAddress(const void* address) {
    char text[19] = "0x";
    auto a = reinterpret_cast<std::uintptr_t>(address);
    for (int i = 17; i >= 2; --i) {
        text[i] = "0123456789abcdef"[a & 15];
        a >>= 4;
    }
    text[18] = '\0';
    WriteAll(text);
}

void SleepMs(long ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, nullptr);
}

// Shows the box from a child process of its own (a new process group, ended
// with this process), so that whatever it does - the box answered, never
// shown, stuck - this process waits at most g_boxSeconds for it and leaves
// nothing behind.
void ShowBoxBounded(FaultBoxFunction box, const char* name) {
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(0);  // the parent is already gone
        for (int s : kSignals) signal(s, SIG_DFL);
        box("Windows exception", name);
        _exit(0);
    }
    setpgid(child, child);  // the child does it too: whichever runs first
    for (long waited = 0; waited < g_boxSeconds * 1000L; waited += 20) {
        int status = 0;
        const pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child || (r < 0 && errno != EINTR)) return;
        SleepMs(20);
    }
    WriteAll("kestrel: the report box got no answer in time\n");
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

void OnFault(int signo, siginfo_t* info, void*) {
    const bool stack = signo == SIGSEGV && info && IsStackFault(info->si_addr);
    const char* name = FaultName(signo, info ? info->si_code : 0, stack);
    WriteAll("Windows exception: ");
    WriteAll(name);
    WriteAll("\n");
    // For a Linux user reading a terminal: what the kernel reported.
    WriteAll("kestrel: fault: ");
    WriteAll(SignalName(signo));
    WriteAll(" at address ");
    WriteAddress(info ? info->si_addr : nullptr);
    WriteAll("\n");
    if (FaultBoxFunction box = g_box.load()) ShowBoxBounded(box, name);
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
    if (const char* s = std::getenv("KESTREL_FAULT_BOX_SECONDS")) {
        const int seconds = std::atoi(s);
        if (seconds >= 0) g_boxSeconds = seconds;
    }
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

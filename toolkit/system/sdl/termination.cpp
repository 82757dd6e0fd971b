#include "toolkit/system/sdl/termination.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/event.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/terminate_policy.h"

namespace kestrel::sdl {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// How long the main thread has to take a signal before the process ends
// without it (a frame loop polls many times a second).
constexpr auto kPumpGrace = std::chrono::seconds(2);

// Set once a signal has been handed to a program that ends on its own terms:
// the next one ends the process at once.
std::atomic<bool> g_signalHandedOver{false};
std::atomic<bool> g_modal{false};
std::atomic<int> g_pending{0};
std::atomic<void (*)()> g_wake{nullptr};
int g_pipe[2] = {-1, -1};

void OnSignal(int signo) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    if (write(g_pipe[1], &byte, 1) < 0) {
        // Pipe full: a request is already on its way.
    }
    errno = saved;
}

// A child forked without exec (SDL shows its message boxes from one) has no
// signal thread: the signals' own actions are what it needs.
void DefaultSignalsInChild() {
    for (int s : kSignals) std::signal(s, SIG_DFL);
}

// Ends this process's children (a message box's process), which would
// otherwise stay on the screen.
void EndChildren(int signo) {
    DIR* proc = opendir("/proc");
    if (!proc) return;
    const pid_t self = getpid();
    while (dirent* d = readdir(proc)) {
        const int pid = std::atoi(d->d_name);
        if (pid <= 0) continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%d/stat", pid);
        FILE* f = std::fopen(path, "r");
        if (!f) continue;
        // pid (comm) state ppid: comm may hold spaces, so read after the last ')'.
        char line[512] = "";
        const bool read = std::fgets(line, sizeof line, f) != nullptr;
        std::fclose(f);
        const char* close = read ? std::strrchr(line, ')') : nullptr;
        char state = 0;
        int ppid = 0;
        if (close && std::sscanf(close + 1, " %c %d", &state, &ppid) == 2 && ppid == self)
            kill(pid, signo);
    }
    closedir(proc);
}

// Runs on the signal thread (not in a signal handler).
[[noreturn]] void ExitNow(int signo, const char* why) {
    EndChildren(signo);
    char line[160] = "terminated by signal ";
    std::size_t n = std::strlen(line);
    if (signo >= 10) line[n++] = static_cast<char>('0' + signo / 10);
    line[n++] = static_cast<char>('0' + signo % 10);
    line[n] = '\0';
    std::strncat(line, why, sizeof line - n - 2);
    std::strcat(line, "\n");
    if (write(STDERR_FILENO, line, std::strlen(line)) < 0) {
    }
    _exit(128 + signo);
}

// The signal thread: hands each signal to the pump and watches that the
// pump takes it.
void Watch() {
    using Clock = std::chrono::steady_clock;
    int waiting = 0;  // a signal handed over and not taken yet
    Clock::time_point deadline;
    for (;;) {
        int timeout = -1;
        if (waiting && g_pending.load() == 0) waiting = 0;
        if (waiting) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - Clock::now())
                                  .count();
            if (left <= 0) ExitNow(waiting, " (the program did not end in time)");
            timeout = static_cast<int>(left < 20 ? left : 20);
        }
        pollfd p{g_pipe[0], POLLIN, 0};
        if (poll(&p, 1, timeout) <= 0) continue;
        unsigned char byte = 0;
        if (read(g_pipe[0], &byte, 1) != 1) continue;
        const int signo = byte;
        int expected = 0;
        if (!g_pending.compare_exchange_strong(expected, signo))
            ExitNow(signo, " (a second request)");
        if (g_signalHandedOver.load()) ExitNow(signo, " (a second request)");
        if (g_modal.load()) ExitNow(signo, " (during a message box)");
        if (void (*wake)() = g_wake.load()) wake();
        if (TerminateEndsProgram()) {
            waiting = signo;
            deadline = Clock::now() + kPumpGrace;
        }
    }
}

}  // namespace

void SetEndOnTerminate(bool end) {
    SetTerminatePolicy(end ? TerminatePolicy::Toolkit : TerminatePolicy::Program);
}
bool EndOnTerminate() { return TerminateEndsProgram(); }

void InstallTerminationSignals(void (*wake)()) {
    g_wake = wake;
    static bool installed = false;
    if (installed) return;
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // signals keep their defaults
    // The reading end blocks in poll only; reads after poll never wait.
    installed = true;
    pthread_atfork(nullptr, nullptr, DefaultSignalsInChild);
    std::thread(Watch).detach();
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    for (int s : kSignals) sigaction(s, &sa, nullptr);
}

int TakeTerminationSignal() { return g_pending.exchange(0); }

void SetInModalLoop(bool modal) { g_modal = modal; }

void HandleTermination(int status, bool emitEvent) {
    if (emitEvent) TEvent::Create(EventId::AppTerminate, nullptr, 0, CurrentModifiers())->Emit();
    if (TerminateEndsProgram()) EndWithStatus(status);
    if (status > 128) g_signalHandedOver = true;
}

}  // namespace kestrel::sdl

#include "toolkit/graphics/sdl/fault_box.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace kestrel::sdl {

namespace {

// The fresh process is told what to show through its environment; the
// first variable holds the faulting process's id, so that a stray setting
// inherited from elsewhere is ignored.
constexpr const char* kPidVar = "KESTREL_FAULT_BOX=";
constexpr const char* kCaptionVar = "KESTREL_FAULT_BOX_CAPTION=";
constexpr const char* kTextVar = "KESTREL_FAULT_BOX_TEXT=";

// Appends src to dst (of size n), without the C library's locale machinery.
void Append(char* dst, std::size_t n, const char* src) {
    std::size_t at = std::strlen(dst);
    while (*src && at + 1 < n) dst[at++] = *src++;
    dst[at] = '\0';
}

void AppendNumber(char* dst, std::size_t n, long value) {
    char digits[24];
    int i = 0;
    do {
        digits[i++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && i < 23);
    char text[24];
    for (int k = 0; k < i; ++k) text[k] = digits[i - 1 - k];
    text[i] = '\0';
    Append(dst, n, text);
}

// In the fresh process, before main: show the box and end.
struct FaultBoxProcess {
    FaultBoxProcess() {
        const char* pid = std::getenv("KESTREL_FAULT_BOX");
        if (!pid || std::atol(pid) != long(getppid())) return;
        const char* caption = std::getenv("KESTREL_FAULT_BOX_CAPTION");
        const char* text = std::getenv("KESTREL_FAULT_BOX_TEXT");
        // Ended with the faulting process, and so is any process SDL
        // shows the box from.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        pthread_atfork(nullptr, nullptr, [] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption ? caption : "",
                                 text ? text : "", nullptr);
        _exit(0);
    }
} g_faultBoxProcess;

}  // namespace

void ShowFaultBox(const char* caption, const char* text) {
    static char pidVar[64];
    static char captionVar[128];
    static char textVar[128];
    pidVar[0] = captionVar[0] = textVar[0] = '\0';
    Append(pidVar, sizeof pidVar, kPidVar);
    AppendNumber(pidVar, sizeof pidVar, long(getppid()) == 1 ? 0 : long(getppid()));
    Append(captionVar, sizeof captionVar, kCaptionVar);
    Append(captionVar, sizeof captionVar, caption);
    Append(textVar, sizeof textVar, kTextVar);
    Append(textVar, sizeof textVar, text);

    // This process's environment, then the three variables.
    static char* envp[1024];
    std::size_t n = 0;
    for (char** e = environ; e && *e && n + 4 < sizeof envp / sizeof envp[0]; ++e)
        if (std::strncmp(*e, "KESTREL_FAULT_BOX", 17) != 0) envp[n++] = *e;
    envp[n++] = pidVar;
    envp[n++] = captionVar;
    envp[n++] = textVar;
    envp[n] = nullptr;
    char name[] = "kestrel-fault-box";
    char* argv[] = {name, nullptr};
    execve("/proc/self/exe", argv, envp);
    // No fresh process: show it here, as well as it goes.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}

}  // namespace kestrel::sdl

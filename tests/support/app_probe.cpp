// A tiny program over the runtime's entry, used by tests as a child process.
// The first argument picks what it does.
#include <sys/mman.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "toolkit/core/app.h"
#include "toolkit/core/app_entry.h"
#include "toolkit/core/error.h"
#include "toolkit/core/exit_handlers.h"

namespace {

std::string g_mode;

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Recurses until the stack runs out; the depth test keeps the compiler from
// seeing an infinite recursion.
[[gnu::noinline]] int Recurse(int depth) {
    volatile char pad[1024];
    pad[0] = static_cast<char>(depth);
    if (depth < 0) return 0;
    return Recurse(depth + 1) + pad[0];
}

void Body() {
    using namespace kestrel;
    if (g_mode == "end" || g_mode == "return") {
        OnEnd([] { Say("first\n"); });
        OnEnd([] {
            Say("second\n");
            OnEnd([] { Say("late\n"); });
        });
        OnEnd([] { Say("third\n"); });
        if (g_mode == "end") End();
        return;
    }
    if (g_mode == "end-twice") {
        OnEnd([] { Say("once\n"); });
        RunExitHandlers();
        End();
    }
    if (g_mode == "unhandled") {
        OnEnd([] { Say("handler\n"); });
        RuntimeError("Stream is not seekable");
    }
    if (g_mode == "string") throw std::string(kCAssertFailed);
    if (g_mode == "null") throw TNullObjectException();
    if (g_mode == "segv") {
        void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        volatile int* p = static_cast<int*>(page);
        Say("about to fault\n");
        *p = 1;
    }
    if (g_mode == "fpe") {
#if defined(__x86_64__)
        // A real integer division trap, out of the sanitizers' sight.
        int zero = 0, quotient = 0, remainder = 0;
        asm volatile("cltd; idivl %2" : "=a"(quotient), "=&d"(remainder) : "r"(zero), "a"(1));
        (void)quotient;
        (void)remainder;
#else
        std::raise(SIGFPE);
#endif
    }
    if (g_mode == "stack") Recurse(0);
    if (g_mode == "appdir") {
        std::cout << "AppDir=" << AppDir << "\n";
        std::cout << "LaunchDir=" << LaunchDir << "\n";
        std::cout << "AppTitle=" << AppTitle << "\n";
        std::cout << "Args=" << AppArgs.size() << "\n";
        std::ifstream near("probe_data.txt");
        std::string line;
        std::getline(near, line);
        std::cout << "Data=" << line << "\n";
        return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_mode = argc > 1 ? argv[1] : "";
    return kestrel::RunApplication(argc, argv, Body);
}

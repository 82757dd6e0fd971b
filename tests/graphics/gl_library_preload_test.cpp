// The OpenGL libraries loaded ahead of the first window: after the preload
// the GL library and Mesa's driver are in the process, without a display;
// and a fork made while the preload runs gives a child that can load
// libraries and allocate (SDL's X11 message boxes run in a forked child).
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "toolkit/graphics/sdl/gl_library_preload.h"

namespace kestrel::sdl {
namespace {

// Whether a loaded object's path ends in "/" + name.
bool Loaded(const char* name) {
    struct Search {
        std::string suffix;
        bool found = false;
    } search{std::string("/") + name};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const std::string path = info->dlpi_name ? info->dlpi_name : "";
            if (path.size() >= s->suffix.size() &&
                path.compare(path.size() - s->suffix.size(), s->suffix.size(), s->suffix) == 0)
                s->found = true;
            return 0;
        },
        &search);
    return search.found;
}

// In a child of its own (a fresh preload each time), starts the preload,
// forks after delayUs, and has the grandchild load a library and allocate,
// as the message box's child does. Returns 0 when the grandchild did so
// within 10 s (a child that inherited a lock held by the loader never ends);
// otherwise 2 (it could not), 3 (it died), 4 (it hung) or 100 + a signal.
int ForkDuringPreloadEnds(int delayUs) {
    const pid_t child = fork();
    if (child == 0) {
        PreloadGLLibraries();
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            void* h = dlopen("libGLU.so.1", RTLD_NOW);
            if (!h) h = dlopen("libz.so.1", RTLD_NOW);
            bool allocated = true;
            for (std::size_t size = 16; size <= (1 << 16); size += size / 4 + 8) {
                void* p = std::malloc(size);
                allocated = allocated && p;
                std::free(p);
            }
            if (!h) std::fprintf(stderr, "dlopen: %s\n", dlerror());
            _exit(h && allocated ? 0 : 2);
        }
        for (int i = 0; i < 1000; ++i) {
            int status = 0;
            const pid_t r = waitpid(grandchild, &status, WNOHANG);
            if (r == grandchild) _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 3);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(grandchild, SIGKILL);
        _exit(4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// (Before the next test, which loads the libraries into this process for good.)
TEST(GLLibraryPreload, AForkWhileItLoadsGivesAChildThatCanLoadAndAllocate) {
    // Forks spread over the preload's loading (it takes tens of ms).
    for (int delayUs : {0, 200, 1000, 3000, 6000, 10000, 15000, 20000, 30000, 45000})
        EXPECT_EQ(ForkDuringPreloadEnds(delayUs), 0) << "forked " << delayUs << " us into the preload";
}

TEST(GLLibraryPreload, LoadsTheGLLibraryAndMesasDriverOnItsOwnThread) {
    const bool mesaBefore = Loaded("swrast_dri.so");
    PreloadGLLibraries();
    PreloadGLLibraries();  // a second call starts nothing more
    FinishGLPreload();
    EXPECT_TRUE(Loaded("libGL.so.1"));
    // Mesa's driver is found beside libGL (Debian's layout) and loaded.
    EXPECT_FALSE(mesaBefore);
    EXPECT_TRUE(Loaded("swrast_dri.so"));
    FinishGLPreload();  // nothing left to wait for
}

}  // namespace
}  // namespace kestrel::sdl

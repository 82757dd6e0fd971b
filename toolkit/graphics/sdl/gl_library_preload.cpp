#include "toolkit/graphics/sdl/gl_library_preload.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrel::sdl {

namespace {

std::thread g_loader;
std::vector<void*> g_handles;  // written by the loader, read after the join
bool g_started = false;

// Held while the loader is inside the dynamic loader. A fork made meanwhile
// would give the child a loader half-way through loading a library (it
// crashed or ended with 127 when it loaded one itself). SDL's X11 layer
// shows its message boxes in a forked child, and a program's first question
// is shown while the preload runs: so a fork waits until the loader is out.
// The loading thread itself never waits for itself (the fault report forks
// from a crash, which may be a crash inside dlopen).
std::mutex g_loading;
std::atomic<std::thread::id> g_loadingThread{};
thread_local bool t_heldForFork = false;
void LockBeforeFork() {
    if (std::this_thread::get_id() == g_loadingThread.load()) return;
    g_loading.lock();
    t_heldForFork = true;
}
void UnlockAfterFork() {
    if (!t_heldForFork) return;
    t_heldForFork = false;
    g_loading.unlock();
}

// Mesa's driver for this machine is not known before the display is: its
// drivers are one file under many names, so loading the software one loads
// them all. It lives in LIBGL_DRIVERS_PATH or in "dri" beside libGL.
std::string MesaDriverPath(void* libGL) {
    if (const char* path = std::getenv("LIBGL_DRIVERS_PATH"); path && *path) {
        const std::string first = std::string(path).substr(0, std::string(path).find(':'));
        return first + "/swrast_dri.so";
    }
    void* symbol = dlsym(libGL, "glXGetProcAddressARB");
    Dl_info info{};
    if (!symbol || !dladdr(symbol, &info) || !info.dli_fname) return "";
    const std::string file = info.dli_fname;
    const auto slash = file.rfind('/');
    if (slash == std::string::npos) return "";
    return file.substr(0, slash) + "/dri/swrast_dri.so";
}

void Load() {
    g_loadingThread = std::this_thread::get_id();
    const std::lock_guard<std::mutex> hold(g_loading);
    void* libGL = dlopen("libGL.so.1", RTLD_NOW | RTLD_GLOBAL);
    if (!libGL) return;
    g_handles.push_back(libGL);
    const std::string driver = MesaDriverPath(libGL);
    if (driver.empty()) return;
    if (void* h = dlopen(driver.c_str(), RTLD_NOW | RTLD_GLOBAL)) g_handles.push_back(h);
}

}  // namespace

void PreloadGLLibraries() {
    if (g_started) return;
    g_started = true;
    pthread_atfork(LockBeforeFork, UnlockAfterFork, UnlockAfterFork);
    g_loader = std::thread(Load);
}

void FinishGLPreload() {
    if (g_loader.joinable()) g_loader.join();
}

void ReleaseGLPreload() {
    FinishGLPreload();
    for (auto it = g_handles.rbegin(); it != g_handles.rend(); ++it) dlclose(*it);
    g_handles.clear();
}

}  // namespace kestrel::sdl

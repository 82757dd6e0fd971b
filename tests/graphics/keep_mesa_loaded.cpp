// Mesa's drivers keep allocations that the leak checker would report once
// they are unloaded: keep them loaded for the whole test process.
#include <dlfcn.h>

namespace {

__attribute__((constructor)) void KeepMesaDriversLoaded() {
    const char* libs[] = {"libEGL_mesa.so.0", "libGLX_mesa.so.0",
                          "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"};
    for (const char* lib : libs) dlopen(lib, RTLD_NOW | RTLD_NODELETE);
}

}  // namespace

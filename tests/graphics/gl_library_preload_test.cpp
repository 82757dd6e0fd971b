// The OpenGL libraries loaded ahead of the first window: after the preload
// the GL library and Mesa's driver are in the process, without a display.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <string>

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

// A program that opens a window on the display and then faults: the fault
// report must show its message box while the display is open.
#include <csignal>
#include <cstdio>

#include "toolkit/core/app.h"
#include "toolkit/core/fault_report.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/system/sdl/sdl_system_driver.h"

int main() {
    using namespace kestrel;
    InstallFaultHandler();
    sdl::UseSDLSystemDriver();
    InitSystem();
    InitGraphics();
    AppTitle = "Kestrel fault probe";
    if (!GLGraphics(320, 240, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", GraphicsError().c_str());
        return 3;
    }
    Flip(0);
    std::raise(SIGSEGV);
    return 0;
}

// A program as a game author writes it (RunApplication, Startup, a window)
// whose own code dereferences a null pointer while the display is open:
// the fault report must end it in bounded time, box or no box.
#include <cstdio>

#include "kestrel/kestrel.h"

namespace {

int* volatile g_nowhere = nullptr;

// The fault itself. The undefined-behaviour sanitizer would stop the
// program at this store before the processor faults: it is kept out of it
// here, so that a sanitizer build tests the fault report too.
__attribute__((no_sanitize("undefined"))) void StoreThroughNull() { *g_nowhere = 1; }

void Body() {
    using namespace kestrel;
    Startup();
    AppTitle = "Kestrel fault report probe";
    if (!Graphics(320, 240)) {
        std::fprintf(stderr, "no graphics: %s\n", GraphicsError().c_str());
        std::_Exit(3);
    }
    for (int i = 0; i < 3; ++i) {
        Cls();
        Flip();
    }
    std::puts("faulting");
    std::fflush(stdout);
    StoreThroughNull();
}

}  // namespace

int main(int argc, char** argv) { return kestrel::RunApplication(argc, argv, Body); }

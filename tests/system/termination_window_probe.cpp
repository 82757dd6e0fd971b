// A program as a game author writes it, over the public headers: a window,
// a loop that ends on Escape or AppTerminate(), and code after the loop.
// The window termination test ends it from outside and checks that main
// returned. Prints "ready" once it has drawn a few frames.
#include <cstdio>

#include "kestrel/kestrel.h"

using namespace kestrel;

namespace {

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

}  // namespace

int main() {
    // Destroyed as main returns, never when the toolkit ends the process.
    struct MainsObject {
        ~MainsObject() { Say("main returned\n"); }
    } object;
    Startup();
    AppTitle = "Termination probe";
    if (!Graphics(320, 240)) return 1;
    int frames = 0;
    while (!KeyHit(KEY_ESCAPE) && !AppTerminate()) {
        Cls();
        DrawText("Close me", 10, 10);
        Flip();
        if (++frames == 5) Say("ready\n");
    }
    Say("after loop\n");  // where a game saves its best score
    return 0;
}

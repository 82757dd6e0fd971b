// A window with an image and text: the smallest complete program.
#include <string>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();  // every module: SDL window and input, loaders, renderer, sound
    AppTitle = "Hello, Kestrel";
    if (!Graphics(640, 480)) return 1;  // GraphicsError() says why

    auto virus = LoadImage(run.Data("gfx/virus_verdegrande.png"));
    if (!virus) return 1;
    MidHandleImage(virus);  // draw it by its centre

    SetClsColor(16, 24, 40);
    while (run.Running()) {
        Cls();
        DrawImage(virus, 320, 220);
        SetColor(255, 255, 255);
        DrawText("Hello from Kestrel. Escape quits.", 320 - TextWidth("Hello from Kestrel. Escape quits.") / 2, 400);
        Flip();  // 60 frames a second
    }
    return 0;
}

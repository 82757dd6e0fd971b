// Image fonts made from a TrueType font at any size, and the built-in one.
#include <string>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    if (!Graphics(640, 480)) return 1;

    // Any TrueType or OpenType file; the LED digits are embedded in Virexo.
    const std::string ttf = run.Data("gfx/led.ttf");
    auto big = LoadImageFont(ttf, 64);
    auto small = LoadImageFont(ttf, 24);
    if (!big || !small) return 1;

    int frame = 0;
    while (run.Running()) {
        Cls();
        SetImageFont(big);
        SetColor(255, 60, 60);
        const std::string clock = std::to_string(frame / 3600) + ":" +
                                  std::to_string(frame / 60 % 60 / 10) + std::to_string(frame / 60 % 10);
        DrawText(clock, 320 - TextWidth(clock) / 2, 160);
        SetImageFont(small);
        SetColor(80, 255, 80);
        DrawText("0123456789", 320 - TextWidth("0123456789") / 2, 260);
        SetImageFont(nullptr);  // back to the built-in 8 x 16 font
        SetColor(255, 255, 255);
        DrawText("The built-in font: " + std::to_string(TextHeight()) + " pixels high", 8, 8);
        Flip();
        ++frame;
    }
    return 0;
}

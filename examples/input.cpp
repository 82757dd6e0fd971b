// Keyboard, mouse and gamepads: polled once a frame.
#include <string>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    if (!Graphics(640, 480)) return 1;

    float x = 320, y = 240;
    int clicks = 0;
    std::string typed;
    while (run.Running()) {
        // Held keys move the square; KeyHit counts presses since the last call.
        if (KeyDown(KEY_LEFT)) x -= 4;
        if (KeyDown(KEY_RIGHT)) x += 4;
        if (KeyDown(KEY_UP)) y -= 4;
        if (KeyDown(KEY_DOWN)) y += 4;
        if (KeyHit(KEY_SPACE)) x = 320, y = 240;
        clicks += MouseHit(MOUSE_LEFT);
        while (int c = GetChar()) {
            if (c >= 32 && c < 127) typed += static_cast<char>(c);
        }
        if (typed.size() > 40) typed.erase(0, typed.size() - 40);

        Cls();
        SetColor(80, 200, 255);
        DrawRect(x - 16, y - 16, 32, 32);
        SetColor(255, 200, 0);
        DrawOval(MouseX() - 6, MouseY() - 6, 12, 12);
        SetColor(255, 255, 255);
        DrawText("Arrows move, Space centres, Escape quits", 8, 8);
        DrawText("Mouse " + std::to_string(MouseX()) + "," + std::to_string(MouseY()) +
                     "  left clicks " + std::to_string(clicks), 8, 28);
        DrawText("Typed: " + typed, 8, 48);
        DrawText("Gamepads: " + std::to_string(JoyCount()), 8, 68);
        for (int i = 0; i < JoyCount(); ++i) DrawText("  " + JoyName(i), 8, 88 + 20 * i);
        Flip();
    }
    return 0;
}

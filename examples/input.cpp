// Keyboard, mouse and gamepads: polled once a frame.
#include <cstdio>
#include <string>

#include "example_run.h"

using namespace kestrel;

// PadButton's names, in its order.
const char* const kButtonNames[] = {"A", "B", "X", "Y", "Back", "Guide", "Start", "LeftStick",
    "RightStick", "LB", "RB", "Up", "Down", "Left", "Right", "StickUp", "StickDown", "StickLeft",
    "StickRight"};

// An axis position (PadAxisValue: -1..1, triggers 0..1) as "+0.50".
std::string Show(float value) {
    char text[16];
    std::snprintf(text, sizeof text, "%+.2f", value);
    return text;
}

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
        // So does the first pad's left stick, as far as it is pushed; A centres.
        x += 4 * PadAxisValue(0, PadAxis::LeftX);
        y += 4 * PadAxisValue(0, PadAxis::LeftY);
        if (KeyHit(KEY_SPACE) || PadHit(0, PadButton::A)) x = 320, y = 240;
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
        DrawText("Arrows or left stick move, Space or A centres, Escape quits", 8, 8);
        DrawText("Mouse " + std::to_string(MouseX()) + "," + std::to_string(MouseY()) +
                     "  left clicks " + std::to_string(clicks), 8, 28);
        DrawText("Typed: " + typed, 8, 48);
        // The first pad (slot 0): the buttons held, then its sticks and triggers.
        if (PadConnected(0)) {
            std::string held;
            for (int b = 0; b < static_cast<int>(PadButton::Count); ++b)
                if (PadDown(0, static_cast<PadButton>(b))) held += std::string(kButtonNames[b]) + " ";
            DrawText("Pad buttons: " + held, 8, 68);
            DrawText("Left stick " + Show(PadAxisValue(0, PadAxis::LeftX)) + " " +
                         Show(PadAxisValue(0, PadAxis::LeftY)) + "  right stick " +
                         Show(PadAxisValue(0, PadAxis::RightX)) + " " +
                         Show(PadAxisValue(0, PadAxis::RightY)), 8, 88);
            DrawText("Triggers " + Show(PadAxisValue(0, PadAxis::LeftTrigger)) + " " +
                         Show(PadAxisValue(0, PadAxis::RightTrigger)), 8, 108);
        } else {
            DrawText("Pad: no pad", 8, 68);
        }
        Flip();
    }
    return 0;
}

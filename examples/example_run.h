// What every example shares: where its data is, and how a test runs it
// without a person (a fixed number of frames, then a screenshot).
//   example [--data DIR] [--frames N] [--shot FILE.png]
// Without --frames an example runs until Escape or the window's close button.
#pragma once

#include <cstdlib>
#include <string>

#include "kestrel/kestrel.h"

struct ExampleRun {
    std::string data = KESTREL_EXAMPLE_DATA;  // the repository's assets/ folder
    int frames = -1;
    std::string shot;

    ExampleRun(int argc, char** argv) {
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string option = argv[i];
            if (option == "--data") data = argv[i + 1];
            if (option == "--frames") frames = std::atoi(argv[i + 1]);
            if (option == "--shot") shot = argv[i + 1];
        }
    }

    std::string Data(const std::string& name) const { return data + "/" + name; }

    // Call once per frame, before Flip: false when the program should end.
    // The last frame of a test run is saved to the screenshot file.
    bool Running() {
        if (frames >= 0 && frames-- == 0) {
            if (!shot.empty()) {
                auto picture = kestrel::GrabPixmap(0, 0, kestrel::GraphicsWidth(), kestrel::GraphicsHeight());
                kestrel::SavePixmapPNG(picture, shot);
            }
            return false;
        }
        return !kestrel::KeyHit(kestrel::KEY_ESCAPE) && !kestrel::AppTerminate();
    }
};

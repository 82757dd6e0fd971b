// The six piece colours in the game's colour order (red, green, blue, cyan,
// magenta, yellow) and the dark backdrop the pictures are judged on.
#pragma once

#include "canvas.h"

namespace assetgen {

constexpr int kColours = 6;

inline Color PieceHue(int colour) {
    static const Color hues[kColours] = {
        Rgb(232, 36, 48),   // red
        Rgb(52, 205, 60),   // green
        Rgb(44, 96, 245),   // blue
        Rgb(28, 214, 232),  // cyan
        Rgb(222, 48, 214),  // magenta
        Rgb(252, 210, 28),  // yellow
    };
    return hues[colour];
}

inline Color Backdrop() { return Rgb(10, 10, 18); }

}  // namespace assetgen

// What the game draws outside the boards: the title, difficulty, help,
// get-ready, pause and end screens, the strip banners and the time counter.
#pragma once

#include <string>

#include "toolkit/graphics/image.h"

namespace virexo {

// A ten-strip banner with its first strip centred on (x, y); in about one
// call in ten the strips jitter sideways.
void dibujatitulo(const kestrel::TImagePtr& image, float x, float y);

// The elapsed play time in whole seconds, with its shadow.
void dibujatiempo();

// Draws the screen of the state name after the backdrop; a name without a
// screen draws nothing.
void dibujapantalla(const std::string& state);

}  // namespace virexo

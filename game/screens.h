// What the game draws outside the boards: the title, difficulty, help,
// get-ready, pause and end screens, the strip banners and the time counter.
#pragma once

#include <string>
#include <vector>

#include "toolkit/graphics/image.h"

namespace virexo {

// A ten-strip banner with its first strip centred on (x, y); in about one
// call in ten the strips jitter sideways.
void dibujatitulo(const kestrel::TImagePtr& image, float x, float y);

// The elapsed play time in whole seconds, with its shadow.
void dibujatiempo();

// The grids of the boards the state's screen shows, for the backdrop to
// draw with itself (see dibujafondo); none for a screen without boards.
std::vector<kestrel::ImageOver> rejillasdepantalla(const std::string& state);

// Draws the screen of the state name after the backdrop; a name without a
// screen draws nothing. conrejillas false: the boards' grids are drawn
// already (rejillasdepantalla).
void dibujapantalla(const std::string& state, bool conrejillas = true);

}  // namespace virexo

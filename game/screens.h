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

// What lies under the pieces of the boards the state's screen shows (their
// grids, and where it can be laid, their throwers and plain pieces'
// shadows: _tablero::bajopiezas), for the backdrop to lay into itself (see
// dibujafondo); none for a screen without boards.
std::vector<kestrel::ImageOver> bajotableros(const std::string& state);

// Draws the screen of the state name after the backdrop; a name without a
// screen draws nothing. confondos false: what bajotableros lists is drawn
// already.
void dibujapantalla(const std::string& state, bool confondos = true);

}  // namespace virexo

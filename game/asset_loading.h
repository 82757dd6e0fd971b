// The game's embedded files: their registration and their loading into the
// globals, in the order of the asset table.
#pragma once

namespace virexo {

// Registers the 45 embedded files under their names, in table order.
void registraficheros();

// Loads the font (made current), the ten sounds and the images.
void cargarecursos();

}  // namespace virexo

// The game's window icon: the 64 x 64 application icon, embedded apart from
// the 45 files of the asset table, given to the graphics windows.
#pragma once

namespace virexo {

// Registers the icon's embedded file, decodes it and makes it the icon of
// the windows opened from now on. Needs the pixmap loaders started; without
// a decodable icon the windows keep the desktop's default.
void ponicono();

}  // namespace virexo

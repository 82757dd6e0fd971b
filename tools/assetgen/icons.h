// The application icon: the game's green virus over a soft drop shadow, drawn
// afresh at every size the desktop's icon theme asks for (no scaling of one
// big picture, so the small sizes stay crisp).
#pragma once

#include <filesystem>
#include <vector>

#include "canvas.h"

namespace assetgen {

// The sizes written into the hicolor theme folders.
const std::vector<int>& IconSizes();

// The icon at size x size pixels.
Canvas MakeAppIcon(int size);

// Writes <root>/icons/hicolor/<N>x<N>/apps/virexo.png for every size.
void WriteAppIcons(const std::filesystem::path& root);

}  // namespace assetgen

// Writes 8-bit RGBA PNG files with libpng.
#pragma once

#include <string>

#include "canvas.h"

namespace assetgen {

// Writes the canvas as an 8-bit RGBA PNG; throws std::runtime_error on failure.
void WritePng(const std::string& path, const Canvas& canvas);

}  // namespace assetgen

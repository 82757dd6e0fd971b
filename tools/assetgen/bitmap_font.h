// The built-in 8 × 16 bitmap fonts: 96 glyphs for the characters 32..127,
// stored as 16 rows of 96 bytes (byte k of row r is row r of glyph k; bit n,
// least significant first, is pixel column n).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

std::vector<uint8_t> MakeBitmapFont(const std::string& font_path);

}  // namespace assetgen

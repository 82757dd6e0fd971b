// Test fixtures: PNG files written with libpng in memory, and a few ways
// of spoiling them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kestrel_test {

struct PngImage {
    int width = 1;
    int height = 1;
    int colorType = 6;  // PNG colour type: 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    int bitDepth = 8;
    bool interlace = false;
    int compression = 6;  // zlib level
    std::vector<std::uint8_t> rows;  // packed rows as stored in the file (16-bit big-endian)
    std::vector<std::array<std::uint8_t, 3>> palette;
    std::vector<std::uint8_t> paletteAlpha;  // tRNS for palette images
    int transparentGrey = -1;                // tRNS for grey images
    std::array<int, 3> transparentRgb = {-1, -1, -1};  // tRNS for RGB images
};

std::vector<std::uint8_t> EncodePng(const PngImage& image);

// The byte offset of the first chunk of this type, or -1.
long FindChunk(const std::vector<std::uint8_t>& png, const char type[4]);

// Rewrites the IHDR width and height and fixes its CRC.
void ForgeSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height);

}  // namespace kestrel_test

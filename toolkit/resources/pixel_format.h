// Pixel formats and the conversion of pixel runs between them. Every
// conversion goes through the standard format PF_RGBA8888 (bytes R, G, B, A).
#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

// Pixel formats of pixmaps (TPixmap::format): 8 bits a channel, in the
// order named.
inline constexpr int PF_I8 = 1;        // intensity
inline constexpr int PF_A8 = 2;        // alpha
inline constexpr int PF_BGR888 = 3;    // blue, green, red
inline constexpr int PF_RGB888 = 4;    // red, green, blue
inline constexpr int PF_BGRA8888 = 5;  // blue, green, red, alpha
inline constexpr int PF_RGBA8888 = 6;  // red, green, blue, alpha
inline constexpr int PF_STDFORMAT = PF_RGBA8888;  // the format loaders and GrabPixmap give

// @{
// Per-format tables, indexed by format id (entry 0 unused): bytes per pixel,
// then bits of red, green, blue and alpha, bits per pixel and colour bits.
inline constexpr std::array<int, 7> BytesPerPixel = {0, 1, 1, 3, 3, 4, 4};
inline constexpr std::array<int, 7> RedBitsPerPixel = {0, 0, 0, 8, 8, 8, 8};
inline constexpr std::array<int, 7> GreenBitsPerPixel = {0, 0, 0, 8, 8, 8, 8};
inline constexpr std::array<int, 7> BlueBitsPerPixel = {0, 0, 0, 8, 8, 8, 8};
inline constexpr std::array<int, 7> AlphaBitsPerPixel = {0, 0, 8, 0, 0, 8, 8};
inline constexpr std::array<int, 7> BitsPerPixel = {0, 8, 8, 24, 24, 32, 32};
inline constexpr std::array<int, 7> ColorBitsPerPixel = {0, 8, 0, 24, 24, 24, 24};
// @}

// Whether format is one of PF_I8..PF_RGBA8888.
inline constexpr bool IsPixelFormat(int format) { return format >= PF_I8 && format <= PF_RGBA8888; }

// Converts `count` pixels. Same format: a byte copy; otherwise through
// PF_RGBA8888. Raises a runtime error for an unknown format id.
void ConvertPixels(const std::uint8_t* source, int sourceFormat, std::uint8_t* dest,
                   int destFormat, int count);

// @{
// One pixel of any format to R, G, B, A and back.
void PixelToRGBA(const std::uint8_t* p, int format, std::uint8_t rgba[4]);
void RGBAToPixel(const std::uint8_t rgba[4], int format, std::uint8_t* p);
// @}

}  // namespace kestrel

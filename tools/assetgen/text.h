// Text rasterised with FreeType into coverage masks, with layout helpers
// for single lines, aligned line blocks and wrapped paragraphs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

constexpr const char* kFontBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kFontCondensedBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
constexpr const char* kFontRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kFontMonoBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

enum class Align { Left, Center, Right };

struct InkBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // covered pixels are x0 <= x < x1
    int Width() const { return x1 - x0; }
    int Height() const { return y1 - y0; }
};

class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Horizontal advance of the text at a pixel size, with kerning.
    float Advance(const std::string& text, int pixel_size) const;
    // Ascender and line height at a pixel size.
    int Ascender(int pixel_size) const;
    int LineHeight(int pixel_size) const;
    // Draws the text into the mask with its pen start at (x, baseline).
    void Render(Mask& mask, const std::string& text, int pixel_size, float x, int baseline) const;

    // One 8-bit glyph bitmap, rendered monochrome (for the 8 × 16 font).
    std::vector<std::vector<bool>> RenderMono(char c, int pixel_size, int cell_w, int cell_h,
                                              int baseline) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

InkBox FindInk(const Mask& m, float threshold = 0.02f);

// Lines laid out in a block: each line aligned within the block's width.
struct TextBlock {
    std::vector<std::string> lines;
    Align align = Align::Center;
    float line_spacing = 1.0f;  // times the pixel size
};

// Renders the block at a pixel size into a mask big enough to hold it (with
// a margin), returning the mask; its ink box is found with FindInk.
Mask RenderBlock(const Font& font, const TextBlock& block, int pixel_size);

// Largest pixel size whose ink fits into (w, h).
int FitPixelSize(const Font& font, const TextBlock& block, int w, int h, int max_size = 400);

// Splits words into lines no wider than `width` at the pixel size.
std::vector<std::string> WrapText(const Font& font, const std::string& text, int pixel_size, int width);

}  // namespace assetgen

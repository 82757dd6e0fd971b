#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("FreeType init failed");
        return lib;
    }();
    return library;
}

}  // namespace

struct Font::Impl {
    FT_Face face = nullptr;
    mutable int current_size = -1;
    void SetSize(int size) const {
        if (size == current_size) return;
        if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(size)) != 0) throw std::runtime_error("bad font size");
        current_size = size;
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_New_Face(Library(), path.c_str(), 0, &impl_->face) != 0)
        throw std::runtime_error("cannot open font " + path);
}

Font::~Font() { FT_Done_Face(impl_->face); }

float Font::Advance(const std::string& text, int pixel_size) const {
    impl_->SetSize(pixel_size);
    FT_Face face = impl_->face;
    float pen = 0;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k);
            pen += float(k.x) / 64.0f;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) == 0) pen += float(face->glyph->advance.x) / 64.0f;
        previous = index;
    }
    return pen;
}

int Font::Ascender(int pixel_size) const {
    impl_->SetSize(pixel_size);
    return int(impl_->face->size->metrics.ascender >> 6);
}

int Font::LineHeight(int pixel_size) const {
    impl_->SetSize(pixel_size);
    return int(impl_->face->size->metrics.height >> 6);
}

void Font::Render(Mask& mask, const std::string& text, int pixel_size, float x, int baseline) const {
    impl_->SetSize(pixel_size);
    FT_Face face = impl_->face;
    float pen = x;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k);
            pen += float(k.x) / 64.0f;
        }
        previous = index;
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) continue;
        // Render at the whole pixel so stems stay crisp.
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bm = face->glyph->bitmap;
        int gx = int(std::lround(pen)) + face->glyph->bitmap_left;
        int gy = baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                int tx = gx + int(col), ty = gy + int(row);
                if (tx < 0 || ty < 0 || tx >= mask.w || ty >= mask.h) continue;
                float v = bm.buffer[row * bm.pitch + col] / 255.0f;
                float& dst = mask.Ref(tx, ty);
                dst = std::min(1.0f, dst + v * (1 - dst));
            }
        pen += float(face->glyph->advance.x) / 64.0f;
    }
}

std::vector<std::vector<bool>> Font::RenderMono(char c, int pixel_size, int cell_w, int cell_h,
                                                int baseline) const {
    impl_->SetSize(pixel_size);
    FT_Face face = impl_->face;
    std::vector<std::vector<bool>> cell(size_t(cell_h), std::vector<bool>(size_t(cell_w), false));
    FT_UInt index = FT_Get_Char_Index(face, (unsigned char)c);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return cell;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return cell;
    const FT_Bitmap& bm = face->glyph->bitmap;
    int advance = int(face->glyph->advance.x >> 6);
    int gx = (cell_w - advance) / 2 + face->glyph->bitmap_left;
    int gy = baseline - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bm.rows; ++row)
        for (unsigned col = 0; col < bm.width; ++col) {
            bool on = (bm.buffer[row * bm.pitch + col / 8] >> (7 - col % 8)) & 1;
            int tx = gx + int(col), ty = gy + int(row);
            if (on && tx >= 0 && ty >= 0 && tx < cell_w && ty < cell_h) cell[size_t(ty)][size_t(tx)] = true;
        }
    return cell;
}

InkBox FindInk(const Mask& m, float threshold) {
    InkBox box{m.w, m.h, 0, 0};
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (m.At(x, y) > threshold) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    if (box.x1 <= box.x0) box = {0, 0, 0, 0};
    return box;
}

Mask RenderBlock(const Font& font, const TextBlock& block, int pixel_size) {
    const int step = int(std::lround(pixel_size * block.line_spacing));
    float widest = 0;
    for (const auto& line : block.lines) widest = std::max(widest, font.Advance(line, pixel_size));
    const int margin = pixel_size / 2 + 4;
    Mask mask(int(widest) + 2 * margin, step * int(block.lines.size()) + pixel_size + 2 * margin);
    int baseline = margin + font.Ascender(pixel_size);
    for (const auto& line : block.lines) {
        float w = font.Advance(line, pixel_size);
        float x = margin;
        if (block.align == Align::Center) x = margin + (widest - w) / 2;
        if (block.align == Align::Right) x = margin + widest - w;
        font.Render(mask, line, pixel_size, x, baseline);
        baseline += step;
    }
    return mask;
}

int FitPixelSize(const Font& font, const TextBlock& block, int w, int h, int max_size) {
    int lo = 4, hi = max_size;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        InkBox ink = FindInk(RenderBlock(font, block, mid));
        if (ink.Width() <= w && ink.Height() <= h)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

std::vector<std::string> WrapText(const Font& font, const std::string& text, int pixel_size, int width) {
    std::istringstream words(text);
    std::vector<std::string> lines;
    std::string line, word;
    while (words >> word) {
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.Advance(candidate, pixel_size) > float(width)) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace assetgen

#include "bitmap_font.h"

#include "text.h"

namespace assetgen {

std::vector<uint8_t> MakeBitmapFont(const std::string& font_path) {
    Font font(font_path);
    // 13 pixels gives DejaVu Sans Mono an advance of 8 and a cap height
    // that leaves room for descenders in the 16 rows.
    const int size = 13, baseline = 12;
    std::vector<uint8_t> out(16 * 96, 0);
    for (int k = 0; k < 96; ++k) {
        char c = char(32 + k);
        if (c == 127) {
            // DEL has no glyph: a hollow box marks it.
            for (int r = 2; r < 13; ++r) {
                uint8_t bits = (r == 2 || r == 12) ? 0x7E : 0x42;
                out[size_t(r) * 96 + size_t(k)] = bits;
            }
            continue;
        }
        auto cell = font.RenderMono(c, size, 8, 16, baseline);
        for (int r = 0; r < 16; ++r) {
            uint8_t bits = 0;
            for (int n = 0; n < 8; ++n)
                if (cell[size_t(r)][size_t(n)]) bits |= uint8_t(1u << n);
            out[size_t(r) * 96 + size_t(k)] = bits;
        }
    }
    return out;
}

}  // namespace assetgen

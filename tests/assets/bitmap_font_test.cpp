// The two built-in 8 × 16 fonts: 16 rows of 96 bytes, byte k of row r is
// row r of the glyph for character 32 + k, bit n is pixel column n.
#include <gtest/gtest.h>

#include <string>

#include "asset_table.h"
#include "toolkit/resources/incbin.h"

namespace asset_test {
namespace {

struct Glyphs {
    const uint8_t* bytes;
    uint8_t Row(char c, int r) const { return bytes[size_t(r) * 96 + size_t(c - 32)]; }
    bool Pixel(char c, int x, int y) const { return (Row(c, y) >> x) & 1; }
    int Count(char c) const {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 8; ++x) n += Pixel(c, x, y);
        return n;
    }
};

class BitmapFontTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { RegisterAssetsOnce(); }
};

TEST_P(BitmapFontTest, HoldsEveryPrintableCharacterInTheRendererLayout) {
    const std::string name = GetParam();
    ASSERT_EQ(kestrel::IncbinLen(name), 1536);
    Glyphs g{kestrel::IncbinPtr(name)};
    EXPECT_EQ(g.Count(' '), 0);
    for (char c = 33; c < 127; ++c) EXPECT_GT(g.Count(c), 3) << "character " << int(c);
    // Bit 0 is the leftmost column: the stem of 'L' lies in the left half
    // and its foot reaches into the right half.
    int left = 0, right = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            if (g.Pixel('L', x, y)) (x < 4 ? left : right)++;
    EXPECT_GT(left, 2 * right);
    // Row 0 is the top: '_' sits in the bottom rows, the top of 'T' near the
    // top, and the descender of 'g' below the baseline of 'a'.
    int underscore_top = 16;
    for (int y = 15; y >= 0; --y)
        if (g.Row('_', y)) underscore_top = y;
    EXPECT_GE(underscore_top, 12);
    int t_top = -1;
    for (int y = 0; y < 16 && t_top < 0; ++y)
        if (g.Row('T', y)) t_top = y;
    EXPECT_GE(t_top, 0);
    EXPECT_LE(t_top, 4);
    int a_bottom = 0, g_bottom = 0;
    for (int y = 0; y < 16; ++y) {
        if (g.Row('a', y)) a_bottom = y;
        if (g.Row('g', y)) g_bottom = y;
    }
    EXPECT_GT(g_bottom, a_bottom + 1);
    EXPECT_LE(g_bottom, 15);
    // Mirror pairs look mirrored: '(' leans left where ')' leans right.
    int open_left = 0, close_left = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 4; ++x) open_left += g.Pixel('(', x, y), close_left += g.Pixel(')', x, y);
    EXPECT_GT(open_left, close_left);
}

INSTANTIATE_TEST_SUITE_P(BothFonts, BitmapFontTest, ::testing::Values("kestrelfont.bin", "gldrawtextfont.bin"));

}  // namespace
}  // namespace asset_test

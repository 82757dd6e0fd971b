// Image fonts on OpenGL: the built-in font's metrics and drawing, FreeType
// fonts drawn through glyph images.
#include <filesystem>
#include <memory>
#include <string_view>

#include "tests/graphics/gl_fixture.h"
#include "toolkit/graphics/freetype_font.h"
#include "toolkit/resources/incbin.h"

namespace kestrel::test {
namespace {

using TextGL = GLTest;

const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // lit pixels, inclusive
    bool empty() const { return x1 < 0; }
};

Box LitBox(const Screen& s) {
    Box b;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (s.Lit(x, y)) {
                b.x0 = std::min(b.x0, x);
                b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x);
                b.y1 = std::max(b.y1, y);
            }
    return b;
}

// Whether the lit pixels lie inside the 8 x 16 cell with its top-left at (x, y).
bool InsideCell(const Box& b, int x, int y) {
    return !b.empty() && b.x0 >= x && b.x1 <= x + 7 && b.y0 >= y && b.y1 <= y + 15;
}

TEST_F(TextGL, BuiltInFontMetrics) {
    // Registered by the image font module's start-up.
    EXPECT_EQ(IncbinLen("kestrelfont.bin"), 1536);
    EXPECT_EQ(GetImageFont(), DefaultImageFont());
    EXPECT_EQ(TextHeight(), 16);
    EXPECT_EQ(TextWidth("abc"), 24);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextWidth(" "), 8);
    TImageFont& font = *DefaultImageFont();
    // A character outside 32..127 takes a box's cell, as it is drawn.
    EXPECT_EQ(TextWidth("a\tb\x7f"), 4 * 8);        // the tab is a box, 127 the font's own
    EXPECT_EQ(TextWidth("Caf\xC3\xA9"), 4 * 8);      // "Café": é (233) is one box
    EXPECT_EQ(TextWidth("\xE2\x82\xAC" "1"), 2 * 8);  // "€1"
    EXPECT_EQ(TextWidth("\xF0\x9F\x98\x80"), 8);     // beyond the basic plane: still one
    // One box per byte that is no valid UTF-8: a Latin-1 é, bytes no
    // sequence starts with, a sequence cut short, an overlong form.
    EXPECT_EQ(TextWidth("Caf\xE9"), 4 * 8);
    EXPECT_EQ(TextWidth("a\xFF\xFE" "b"), 4 * 8);
    EXPECT_EQ(TextWidth("\xF0\x9F\x98" "a"), 4 * 8);
    EXPECT_EQ(TextWidth("\xC0\x80"), 2 * 8);
    EXPECT_EQ(TextWidth(std::string_view("a\0b", 3)), 3 * 8);
    // A text ending inside a sequence is read no further than its end (the
    // buffer holds exactly its bytes, so a sanitizer build sees any overrun).
    const std::unique_ptr<char[]> cut(new char[3]{'a', '\xE2', '\x82'});
    EXPECT_EQ(TextWidth(std::string_view(cut.get(), 3)), 3 * 8);
    // What the font has it draws as ever; the rest is its box.
    for (int ch = 32; ch < 128; ++ch) EXPECT_EQ(font.DrawnGlyph(ch), font.CharToGlyph(ch)) << ch;
    EXPECT_EQ(font.DrawnGlyph(0xE9), font.CharToGlyph(127));
    EXPECT_EQ(font.DrawnGlyph(0), font.CharToGlyph(127));
    EXPECT_EQ(font.CountGlyphs(), 96);
    EXPECT_EQ(font.CharToGlyph(' '), 0);
    EXPECT_EQ(font.CharToGlyph(127), 95);
    EXPECT_EQ(font.CharToGlyph(128), -1);
    EXPECT_EQ(font.CharToGlyph(31), -1);
    EXPECT_EQ(font.Style(), 0);
    // Every glyph is an 8 x 16 image at (0, 0) advancing 8.
    const TImageGlyphPtr a = font.LoadGlyph(font.CharToGlyph('A'));
    ASSERT_TRUE(a && a->_image);
    EXPECT_EQ(a->_image->width, 8);
    EXPECT_EQ(a->_image->height, 16);
    EXPECT_EQ(a->_image->flags, 0);
    EXPECT_EQ(a->_advance, 8);
}

TEST_F(TextGL, BuiltInFontDrawsInTheCurrentColourAndBoxesUnknownCharacters) {
    SetBlend(ALPHABLEND);
    SetColor(0, 255, 0);
    DrawText("H", 10, 10);
    const Screen s;
    const Box b = LitBox(s);
    ASSERT_FALSE(b.empty()) << "the built-in font drew nothing";
    EXPECT_TRUE(InsideCell(b, 10, 10));
    int lit = 0;
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            const Rgba c = s.at(x, y);
            EXPECT_EQ(c.r, 0);
            EXPECT_EQ(c.b, 0);
            lit += c.g == 255;
        }
    EXPECT_GT(lit, 8);

    // A character outside the font draws the font's hollow box (its glyph
    // of 127) in its own cell and moves the pen on: "Café" draws "Caf" and
    // a box where "é" would be, as does the Latin-1 byte of é.
    const auto picture = [](std::string_view text) {
        Cls();
        DrawText(text, 10, 10);
        return GrabPixmap(0, 0, kWidth, kHeight);
    };
    const auto differing = [](const TPixmapPtr& a, const TPixmapPtr& b) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) n += a->ReadPixel(x, y) != b->ReadPixel(x, y);
        return n;
    };
    const TPixmapPtr boxed = picture("Caf\x7f");
    EXPECT_EQ(differing(picture("Caf\xC3\xA9"), boxed), 0);
    EXPECT_EQ(differing(picture("Caf\xE9"), boxed), 0);
    EXPECT_GT(differing(picture("Caf"), boxed), 0);
    Cls();
    DrawText("\x01", 10, 10);
    const Screen box;
    const Box cell = LitBox(box);
    ASSERT_FALSE(cell.empty()) << "no box for a character outside the font";
    EXPECT_TRUE(InsideCell(cell, 10, 10));
    EXPECT_GT(cell.x1 - cell.x0, 3);
    EXPECT_GT(cell.y1 - cell.y0, 6);
    EXPECT_TRUE(box.IsBlack((cell.x0 + cell.x1) / 2, (cell.y0 + cell.y1) / 2));  // hollow
    // The next character follows one cell on.
    Cls();
    DrawText("\x01H", 10, 10);
    const Box both = LitBox(Screen());
    EXPECT_EQ(both.x1, b.x1 + 8);

    // The space draws nothing but moves the pen by 8.
    Cls();
    DrawText(" H", 10, 10);
    const Box moved = LitBox(Screen());
    EXPECT_EQ(moved.x0, b.x0 + 8);
    EXPECT_EQ(moved.y0, b.y0);
}

TEST_F(TextGL, TextFollowsTheMatrixOriginAndHandle) {
    DrawText("HH", 0, 0);
    const Box flat = LitBox(Screen());
    ASSERT_FALSE(flat.empty());
    Cls();
    SetOrigin(100, 50);
    SetScale(2, 2);
    DrawText("HH", 0, 0);
    const Box big = LitBox(Screen());
    EXPECT_EQ(big.x0, 100 + 2 * flat.x0);
    EXPECT_EQ(big.y0, 50 + 2 * flat.y0);
    EXPECT_EQ(big.x1, 100 + 2 * flat.x1 + 1);
    Cls();
    // The record's handle is a negated offset turned by the matrix.
    SetScale(1, 1);
    SetHandle(10, 0);
    DrawText("HH", 0, 0);
    const Box handled = LitBox(Screen());
    EXPECT_EQ(handled.x0, 100 - 10 + flat.x0);
    Cls();
    SetHandle(0, 0);
    SetRotation(90);  // the text runs downward
    DrawText("HH", 0, 0);
    const Box turned = LitBox(Screen());
    EXPECT_GT(turned.y1 - turned.y0, turned.x1 - turned.x0);
}

TEST_F(TextGL, FreeTypeFontsDrawAndSmoothGlyphsKeepTheirPlace) {
    if (!std::filesystem::exists(kSans)) GTEST_SKIP() << kSans << " is not installed";
    InitFreeTypeFonts();
    TImageFontPtr sharp = LoadImageFont(std::string(kSans), 40, 0);
    TImageFontPtr smooth = LoadImageFont(std::string(kSans), 40, SMOOTHFONT);
    ASSERT_TRUE(sharp && smooth);
    EXPECT_EQ(sharp->ImageFlags(), 0);
    EXPECT_EQ(smooth->ImageFlags(), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    EXPECT_FALSE(LoadImageFont(std::string("/no/such/font.ttf"), 40, 0));
    EXPECT_FALSE(LoadImageFont(Url(nullptr), 40, 0));

    SetImageFont(sharp);
    EXPECT_EQ(GetImageFont(), sharp);
    EXPECT_EQ(TextHeight(), sharp->Height());  // the loaded face's line height
    EXPECT_GT(TextWidth("W"), TextWidth("i"));
    // The space has no image but advances.
    const TImageGlyphPtr space = sharp->LoadGlyph(sharp->CharToGlyph(' '));
    ASSERT_TRUE(space);
    EXPECT_FALSE(space->_image);
    EXPECT_EQ(TextWidth("  "), 2 * int(space->_advance));
    // A loaded font skips what it lacks (this face has no CJK): no box.
    EXPECT_EQ(sharp->DrawnGlyph(0x4E2D), -1);
    EXPECT_EQ(TextWidth("\xE4\xB8\xAD"), 0);
    EXPECT_EQ(TextWidth("H\xE4\xB8\xAD" "H"), TextWidth("HH"));

    SetBlend(ALPHABLEND);
    DrawText("H", 40, 40);
    const Box a = LitBox(Screen());
    ASSERT_FALSE(a.empty());
    Cls();
    SetImageFont(smooth);
    DrawText("H", 40, 40);
    const Box b = LitBox(Screen());
    ASSERT_FALSE(b.empty());
    // The smooth glyph's image is one pixel larger on every side and drawn
    // one pixel up and left: the visible letter stays where it was.
    EXPECT_NEAR(b.x0, a.x0, 1);
    EXPECT_NEAR(b.y0, a.y0, 1);
    EXPECT_NEAR(b.x1, a.x1, 1);
    EXPECT_NEAR(b.y1, a.y1, 1);
    const TImageGlyphPtr gs = sharp->LoadGlyph(sharp->CharToGlyph('H'));
    const TImageGlyphPtr gm = smooth->LoadGlyph(smooth->CharToGlyph('H'));
    EXPECT_EQ(gm->_image->width, gs->_image->width + 2);
    EXPECT_EQ(gm->_x, gs->_x - 1);

    SetImageFont(nullptr);  // back to the built-in font
    EXPECT_EQ(GetImageFont(), DefaultImageFont());
    EXPECT_EQ(TextHeight(), 16);
}

}  // namespace
}  // namespace kestrel::test

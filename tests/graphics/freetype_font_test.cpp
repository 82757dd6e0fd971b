// Source fonts through FreeType and the font loader chain, without a
// renderer: sizes, metrics, glyph placement, smooth borders, bitmap faces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolkit/graphics/freetype_font.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/stream_functions.h"

namespace kestrel {
namespace {

const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* kBitmap = "/usr/share/fonts/X11/misc/10x20.pcf.gz";  // one 20-pixel strike

bool Have(const char* path) { return std::filesystem::exists(path); }

TFreeTypeGlyphPtr GlyphOf(TFreeTypeFont& font, char ch) {
    return std::static_pointer_cast<TFreeTypeGlyph>(font.LoadGlyph(font.CharToGlyph(ch)));
}

TEST(FreeTypeFont, LoadsFromAFileWithWholePixelMetrics) {
    if (!Have(kSans)) GTEST_SKIP() << kSans << " is not installed (fonts-dejavu-core)";
    TFreeTypeFontPtr font = TFreeTypeFont::Load(kSans, 32, BOLDFONT);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->PixelSize(), 32);
    EXPECT_EQ(font->Style(), BOLDFONT);
    EXPECT_GT(font->Height(), 32);  // line height includes the gap
    EXPECT_GT(font->Ascend(), 0);
    EXPECT_LT(font->Descend(), 0);  // below the baseline: negative, shifted arithmetically
    EXPECT_GT(font->CountGlyphs(), 1000);

    // A character the face lacks gives -1 (FreeType's "missing" index 0, minus one).
    EXPECT_EQ(font->CharToGlyph(0x10FFFF), -1);
    EXPECT_EQ(font->CharToGlyph(-5), -1);
    EXPECT_GE(font->CharToGlyph('A'), 0);
    EXPECT_NE(font->CharToGlyph('A'), font->CharToGlyph('B'));

    TFreeTypeGlyphPtr a = GlyphOf(*font, 'A');
    ASSERT_TRUE(a);
    EXPECT_EQ(font->LoadGlyph(font->CharToGlyph('A')), a);  // cached
    ASSERT_TRUE(a->_pixmap);
    EXPECT_EQ(a->_pixmap->format, PF_A8);
    EXPECT_EQ(a->_pixmap->width, a->_w);
    EXPECT_EQ(a->_pixmap->height, a->_h);
    EXPECT_GT(a->_advance, 15);
    EXPECT_EQ(a->_advance, float(int(a->_advance)));  // whole pixels
    // A capital sits on the baseline: its top is about one cap height down
    // from the line's top, and its bottom row is the baseline.
    EXPECT_GE(a->_y, 0);
    EXPECT_EQ(a->_y + a->_h, font->Ascend());
    // Anti-aliased: some partial coverage.
    bool partial = false;
    for (int y = 0; y < a->_h; ++y)
        for (int x = 0; x < a->_w; ++x) {
            const int v = *a->_pixmap->PixelPtr(x, y);
            partial = partial || (v > 0 && v < 255);
        }
    EXPECT_TRUE(partial);

    // The space has no pixels but moves the pen.
    TFreeTypeGlyphPtr space = GlyphOf(*font, ' ');
    EXPECT_FALSE(space->_pixmap);
    EXPECT_GT(space->_advance, 0);

    // A glyph index past the face loads as an empty glyph.
    TGlyphPtr past = font->LoadGlyph(font->CountGlyphs() - 1);
    ASSERT_TRUE(past);
    EXPECT_FALSE(past->Pixels());
    EXPECT_FALSE(font->LoadGlyph(font->CountGlyphs()));
}

TEST(FreeTypeFont, SmoothGlyphsGainATransparentBorderAndKeepTheirPlace) {
    if (!Have(kSans)) GTEST_SKIP() << kSans << " is not installed (fonts-dejavu-core)";
    TFreeTypeFontPtr sharp = TFreeTypeFont::Load(kSans, 24, 0);
    TFreeTypeFontPtr smooth = TFreeTypeFont::Load(kSans, 24, SMOOTHFONT);
    ASSERT_TRUE(sharp && smooth);
    for (char ch : std::string("Ag%")) {
        TFreeTypeGlyphPtr s = GlyphOf(*sharp, ch), m = GlyphOf(*smooth, ch);
        ASSERT_TRUE(s->_pixmap && m->_pixmap) << ch;
        EXPECT_EQ(m->_w, s->_w + 2) << ch;
        EXPECT_EQ(m->_h, s->_h + 2) << ch;
        EXPECT_EQ(m->_x, s->_x - 1) << ch;
        EXPECT_EQ(m->_y, s->_y - 1) << ch;
        EXPECT_EQ(m->_advance, s->_advance) << ch;
        ASSERT_EQ(m->_pixmap->width, s->_pixmap->width + 2);
        // Border cleared, glyph pasted at (1, 1).
        for (int x = 0; x < m->_pixmap->width; ++x) {
            EXPECT_EQ(*m->_pixmap->PixelPtr(x, 0), 0);
            EXPECT_EQ(*m->_pixmap->PixelPtr(x, m->_pixmap->height - 1), 0);
        }
        for (int y = 0; y < s->_h; ++y)
            for (int x = 0; x < s->_w; ++x)
                ASSERT_EQ(*m->_pixmap->PixelPtr(x + 1, y + 1), *s->_pixmap->PixelPtr(x, y));
    }
}

TEST(FreeTypeFont, BitmapFaceFallsBackToASizeItHasAndExpandsBits) {
    if (!Have(kBitmap)) GTEST_SKIP() << kBitmap << " is not installed (xfonts-base)";
    // The face only has a 20-pixel strike: 30 down to 21 are refused.
    TFreeTypeFontPtr font = TFreeTypeFont::Load(kBitmap, 30, 0);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->PixelSize(), 20);
    EXPECT_EQ(font->Height(), 20);
    // No size from 19 down to 1 exists: the font is refused.
    EXPECT_FALSE(TFreeTypeFont::Load(kBitmap, 19, 0));

    // One-bit glyphs become 0 / 255 coverage.
    TFreeTypeGlyphPtr a = GlyphOf(*font, 'A');
    ASSERT_TRUE(a && a->_pixmap);
    int set = 0;
    for (int y = 0; y < a->_h; ++y)
        for (int x = 0; x < a->_w; ++x) {
            const int v = *a->_pixmap->PixelPtr(x, y);
            ASSERT_TRUE(v == 0 || v == 255) << v;
            set += v == 255;
        }
    EXPECT_GT(set, 10);
    EXPECT_LT(set, a->_w * a->_h);
    EXPECT_EQ(a->_advance, 10);
}

TEST(FreeTypeFont, StreamUrlsAndRefusals) {
    if (!Have(kSans)) GTEST_SKIP() << kSans << " is not installed (fonts-dejavu-core)";
    InitFreeTypeFonts();  // with the stream factories it needs
    // Kept alive for the whole run: registry entries are never removed.
    static const std::vector<std::uint8_t> bytes = LoadByteArray(std::string(kSans));
    ASSERT_FALSE(bytes.empty());
    IncbinAdd("test/sans.ttf", bytes.data(), std::int64_t(bytes.size()));
    static const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    IncbinAdd("test/junk.ttf", junk, sizeof junk);
    IncbinAdd("test/empty.ttf", junk, 0);

    TFreeTypeFontPtr font = TFreeTypeFont::Load("incbin::test/sans.ttf", 40, 0);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->FileBytes(), bytes.size());
    TFreeTypeFontPtr from_file = TFreeTypeFont::Load(kSans, 40, 0);
    EXPECT_EQ(font->Height(), from_file->Height());
    EXPECT_EQ(GlyphOf(*font, 'W')->_w, GlyphOf(*from_file, 'W')->_w);

    EXPECT_FALSE(TFreeTypeFont::Load("incbin::test/junk.ttf", 40, 0));
    EXPECT_FALSE(TFreeTypeFont::Load("incbin::test/empty.ttf", 40, 0));
    EXPECT_FALSE(TFreeTypeFont::Load("/no/such/font.ttf", 40, 0));
    EXPECT_THROW(TFreeTypeFont::Load("incbin::test/missing.ttf", 40, 0), TStreamReadException);
    // "::" at the very start is not a protocol: a (missing) file path.
    EXPECT_FALSE(TFreeTypeFont::Load("::odd", 40, 0));

    TFreeTypeFontLoader loader;
    EXPECT_FALSE(loader.LoadFont(Url(std::string()), 40, 0));
    EXPECT_FALSE(loader.LoadFont(Url(nullptr), 40, 0));
    EXPECT_TRUE(loader.LoadFont(std::string("incbin::test/sans.ttf"), 12, 0));
}

// Damaged fonts found by fuzzing: glyphs whose bitmaps state a size (one of
// them beyond any pixmap) but carry no pixel data. Each glyph loads, keeps a
// box of no negative size and has no pixels rather than a pixmap made up of
// a size the file does not hold.
TEST(FreeTypeFont, DamagedBitmapGlyphsHaveTheirBoxButNoPixels) {
    const std::string corpus = std::string(KESTREL_SOURCE_DIR) + "/fuzz/corpus/font_loader/";
    for (const char* name : {"null_bitmap_buffer.bdf", "huge_box_no_bitmap.bdf"}) {
        for (const int style : {0, SMOOTHFONT}) {
            TFreeTypeFontPtr font = TFreeTypeFont::Load(corpus + name, 12, style);
            ASSERT_TRUE(font) << name;
            ASSERT_GT(font->CountGlyphs(), 0) << name;
            int withoutPixels = 0;
            for (int i = 0; i < font->CountGlyphs(); ++i) {
                TGlyphPtr glyph;
                ASSERT_NO_THROW(glyph = font->LoadGlyph(i)) << name << " glyph " << i;
                ASSERT_TRUE(glyph);
                int x, y, w, h;
                glyph->GetRect(x, y, w, h);
                EXPECT_GE(w, 0);
                EXPECT_GE(h, 0);
                if (!glyph->Pixels() && (w > 0 || h > 0)) ++withoutPixels;
            }
            EXPECT_GT(withoutPixels, 0) << name;
        }
    }
}

class CountingLoader : public TFontLoader {
public:
    explicit CountingLoader(TFontPtr answer) : answer_(std::move(answer)) {}
    TFontPtr LoadFont(const Url&, int, int) override {
        ++calls;
        return answer_;
    }
    int calls = 0;

private:
    TFontPtr answer_;
};

TEST(FontLoaderChain, NewestFirstAndNoLoops) {
    if (!Have(kSans)) GTEST_SKIP() << kSans << " is not installed (fonts-dejavu-core)";
    InitFreeTypeFonts();
    InitFreeTypeFonts();  // once only
    TFontPtr viaChain = LoadFont(std::string(kSans), 16, 0);
    ASSERT_TRUE(viaChain);
    EXPECT_EQ(viaChain->Height(), TFreeTypeFont::Load(kSans, 16, 0)->Height());

    auto refusing = std::make_shared<CountingLoader>(nullptr);
    AddFontLoader(refusing);
    EXPECT_TRUE(LoadFont(std::string(kSans), 16, 0));  // refused by the newest, served by FreeType
    EXPECT_EQ(refusing->calls, 1);

    auto fixed = std::make_shared<CountingLoader>(viaChain);
    AddFontLoader(fixed);
    AddFontLoader(fixed);     // already the head
    AddFontLoader(refusing);  // already linked
    EXPECT_EQ(LoadFont(std::string("anything"), 1, 0), viaChain);
    EXPECT_EQ(fixed->calls, 1);
    EXPECT_EQ(refusing->calls, 1);  // not asked: the newest answered
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// The game's own time-counter font, as the game loads it: size 100, smooth.
TEST(FreeTypeFont, TheGamesLedFontAtItsSize) {
    const std::string path = std::string(KESTREL_SOURCE_DIR) + "/assets/gfx/led.ttf";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not generated";
    TFreeTypeFontPtr font = TFreeTypeFont::Load(path, 100, SMOOTHFONT);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->PixelSize(), 100);
    EXPECT_GE(font->Height(), 90);
    for (char ch : std::string("0123456789:")) {
        const int index = font->CharToGlyph(ch);
        ASSERT_GE(index, 0) << ch;
        auto g = std::static_pointer_cast<TFreeTypeGlyph>(font->LoadGlyph(index));
        ASSERT_TRUE(g && g->_pixmap) << ch;
        EXPECT_EQ(g->_pixmap->width, g->_w);
        EXPECT_GT(g->_advance, 0) << ch;
        // The smooth border: first and last rows are clear.
        for (int x = 0; x < g->_w; ++x) EXPECT_EQ(*g->_pixmap->PixelPtr(x, 0), 0);
    }
    // Digits of a clock font share one advance, so the counter does not jitter.
    const auto advance = [&](char ch) {
        return font->LoadGlyph(font->CharToGlyph(ch))->Advance();
    };
    EXPECT_EQ(advance('1'), advance('8'));
}

}  // namespace
}  // namespace kestrel

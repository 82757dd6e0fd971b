#include "toolkit/resources/load_report.h"
#include "toolkit/graphics/image_font.h"

#include "toolkit/core/error.h"
#include "toolkit/graphics/current_drawing.h"
#include "toolkit/core/run_once.h"
#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/graphics/text_units.h"
#include "toolkit/resources/incbin.h"

#include "kestrel_embed/RegisterKestrelFontFile.h"

namespace kestrel {

namespace {

constexpr int kDefaultGlyphs = 96;  // characters 32..127
constexpr int kDefaultWidth = 8;
constexpr int kDefaultHeight = 16;
constexpr const char* kDefaultFontFile = "kestrelfont.bin";
// The built-in font's glyph of character 127 is a hollow box the size of the
// cell: it stands in for the characters the font lacks.
constexpr int kDefaultBoxGlyph = 127 - 32;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls draw(glyph) for each glyph that text draws in font, in order: what
// Draw places and TextWidth measures. A character beyond the basic plane
// comes as two units that no font maps: it is one character, drawn (or
// skipped) once.
template <class Draw>
void ForEachDrawnGlyph(TImageFont& font, std::string_view text, Draw draw) {
    const std::u16string units = Utf16Units(text);
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char16_t c = units[k];
        if (IsHighSurrogate(c) && k + 1 < units.size() && IsLowSurrogate(units[k + 1])) ++k;
        const int i = font.DrawnGlyph(c);
        if (i < 0) continue;
        if (const TImageGlyphPtr g = font.LoadGlyph(i)) draw(*g);
    }
}

}  // namespace

void TImageGlyph::GetRect(int& x, int& y, int& width, int& height) const {
    x = _x;
    y = _y;
    width = _w;
    height = _h;
}

int TImageFont::Style() { return _src_font ? _src_font->Style() : 0; }

int TImageFont::Height() { return _src_font ? _src_font->Height() : kDefaultHeight; }

int TImageFont::CountGlyphs() { return int(_glyphs.size()); }

int TImageFont::CharToGlyph(int ch) {
    if (_src_font) return _src_font->CharToGlyph(ch);
    return (ch >= 32 && ch < 128) ? ch - 32 : -1;
}

int TImageFont::DrawnGlyph(int ch) {
    const int i = CharToGlyph(ch);
    return i < 0 && !_src_font ? kDefaultBoxGlyph : i;
}

TImageGlyphPtr TImageFont::LoadGlyph(int index) {
    if (index < 0 || index >= int(_glyphs.size())) return nullptr;
    TImageGlyphPtr& slot = _glyphs[std::size_t(index)];
    if (slot || !_src_font) return slot;
    auto glyph = std::make_shared<TImageGlyph>();
    if (TGlyphPtr src = _src_font->LoadGlyph(index)) {
        glyph->_advance = src->Advance();
        src->GetRect(glyph->_x, glyph->_y, glyph->_w, glyph->_h);
        if (auto pixmap = std::dynamic_pointer_cast<TPixmap>(src->Pixels()))
            glyph->_image = TImage::Load(pixmap->Copy(), _imageFlags, 0, 0, 0);
    }
    slot = glyph;
    return slot;
}

void TImageFont::Draw(std::string_view text, float x, float y, float ix, float iy, float jx,
                      float jy) {
    ForEachDrawnGlyph(*this, text, [&](const TImageGlyph& g) {
        if (g._image && !g._image->frames.empty()) {
            if (TImageFramePtr frame = g._image->Frame(0)) {
                const float w = float(g._image->width), h = float(g._image->height);
                const float gx = float(g._x), gy = float(g._y);
                frame->Draw(0, 0, w, h, x + (gx * ix + gy * iy), y + (gx * jx + gy * jy), 0, 0, w,
                            h);
            }
        }
        x += g._advance * ix;
        y += g._advance * jx;
    });
}

TImageFontPtr TImageFont::Load(const Url& url, int size, int style) {
    TFontPtr src = LoadFont(url, size, style);
    if (!src) return nullptr;
    auto font = std::make_shared<TImageFont>();
    font->_src_font = src;
    font->_glyphs.resize(std::size_t(std::max(0, src->CountGlyphs())));
    font->_imageFlags = (style & SMOOTHFONT) ? (FILTEREDIMAGE | MIPMAPPEDIMAGE) : 0;
    return font;
}

TImageFontPtr TImageFont::CreateDefault() {
    InitImageFonts();
    auto font = std::make_shared<TImageFont>();
    font->_glyphs.resize(kDefaultGlyphs);

    const std::uint8_t* bits = IncbinPtr(kDefaultFontFile);
    const bool have_bits = bits && IncbinLen(kDefaultFontFile) >= kDefaultGlyphs * kDefaultHeight;
    TPixmapPtr strip;
    if (have_bits) {
        strip = CreatePixmap(kDefaultGlyphs * kDefaultWidth, kDefaultHeight, PF_RGBA8888, 4);
        for (int r = 0; r < kDefaultHeight; ++r) {
            for (int k = 0; k < kDefaultGlyphs; ++k) {
                const std::uint8_t b = bits[r * kDefaultGlyphs + k];
                for (int n = 0; n < kDefaultWidth; ++n)
                    strip->WritePixel(k * kDefaultWidth + n, r, ((b >> n) & 1) ? 0xFFFFFFFFu : 0u);
            }
        }
    }
    for (int k = 0; k < kDefaultGlyphs; ++k) {
        auto glyph = std::make_shared<TImageGlyph>();
        if (strip)
            glyph->_image = TImage::Load(
                strip->Window(k * kDefaultWidth, 0, kDefaultWidth, kDefaultHeight)->Copy(), 0, 0,
                0, 0);
        glyph->_advance = kDefaultWidth;
        glyph->_w = kDefaultWidth;
        glyph->_h = kDefaultHeight;
        font->_glyphs[std::size_t(k)] = glyph;
    }
    return font;
}

TImageFontPtr DefaultImageFont() {
    static TImageFontPtr font = TImageFont::CreateDefault();
    return font;
}

TImageFontPtr LoadImageFont(const Url& url, int size, int style) {
    LoadAttempt attempt("LoadImageFont", url);
    return attempt.Finish(TImageFont::Load(url, size, style));
}

void SetImageFont(const TImageFontPtr& font) {
    DrawingState().image_font = font ? font : DefaultImageFont();
}

TImageFontPtr GetImageFont() { return DrawingState().image_font; }

int TextWidth(std::string_view text) {
    TImageFont& font = *NonNull(DrawingState().image_font);
    int width = 0;
    ForEachDrawnGlyph(font, text,
                      [&](const TImageGlyph& g) { width = int(float(width) + g._advance); });
    return width;
}

int TextHeight() { return NonNull(DrawingState().image_font)->Height(); }

void DrawText(std::string_view text, float x, float y) {
    const TLumo2DGraphics& g = DrawingState();
    const float hx = g.handle_x, hy = g.handle_y;
    NonNull(g.image_font)
        ->Draw(text, x + g.origin_x + hx * g.tform_ix + hy * g.tform_iy,
               y + g.origin_y + hx * g.tform_jx + hy * g.tform_jy, g.tform_ix, g.tform_iy,
               g.tform_jx, g.tform_jy);
}

void InitImageFonts() {
    static bool done = false;
    RunOnce(done, [] { RegisterKestrelFontFile(); });
}

}  // namespace kestrel

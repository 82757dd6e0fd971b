// Outline fonts rasterised with FreeType 2: TFreeTypeFont, its glyphs and
// the loader that the FreeType module links into the font loader chain.
// FreeType's own types stay inside freetype_font.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/graphics/font.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

// A glyph rendered by FreeType.
class TFreeTypeGlyph : public TGlyph {
public:
    ObjectPtr Pixels() override { return _pixmap; }
    float Advance() override { return _advance; }
    void GetRect(int& x, int& y, int& width, int& height) override;

    TPixmapPtr _pixmap;  // PF_A8 coverage, nullptr for glyphs without pixels
    float _advance = 0;  // see Advance, whole pixels
    // @{
    // The rectangle GetRect gives.
    int _x = 0, _y = 0, _w = 0, _h = 0;
    // @}
};
// A shared FreeType glyph.
using TFreeTypeGlyphPtr = std::shared_ptr<TFreeTypeGlyph>;

// A font file (TrueType, OpenType, bitmap faces...) opened with FreeType
// at one pixel size.
class TFreeTypeFont : public TFont {
public:
    TFreeTypeFont() = default;
    TFreeTypeFont(const TFreeTypeFont&) = delete;
    TFreeTypeFont& operator=(const TFreeTypeFont&) = delete;
    ~TFreeTypeFont() override;

    int Style() override { return _style; }
    int Height() override { return _height; }
    int CountGlyphs() override { return int(_glyphs.size()); }
    // FreeType's glyph index minus one: font glyph i is FreeType glyph i + 1,
    // so a character missing from the face gives -1.
    int CharToGlyph(int ch) override;
    TGlyphPtr LoadGlyph(int index) override;

    // `src` with "::" after its first character is a stream URL whose bytes
    // are read whole (TStreamReadException when it cannot be opened); any
    // other string is a file path. The pixel size falls back from `size`
    // down to 1. nullptr when FreeType, the face or every size fails.
    static std::shared_ptr<TFreeTypeFont> Load(const std::string& src, int size, int style);

    // The pixel size that was set (the requested one or a fall-back).
    int PixelSize() const { return _pixel_size; }
    // Pixels from the top of the line down to the baseline.
    int Ascend() const { return _ascend; }
    // The baseline to the lowest pixel of the face, negative (below).
    int Descend() const { return _descend; }
    // The bytes of the font file kept in memory (a font read from a stream);
    // 0 for a font opened from a file path.
    std::size_t FileBytes() const { return _buf.size(); }

private:
    void* _ft_face = nullptr;  // the FreeType face handle
    int _style = 0;
    int _height = 0, _ascend = 0, _descend = 0;  // pixels
    std::vector<TFreeTypeGlyphPtr> _glyphs;      // one per glyph of the face, made on demand
    std::vector<unsigned char> _buf;             // the font file when read from a stream
    int _pixel_size = 0;
};
// A shared FreeType font.
using TFreeTypeFontPtr = std::shared_ptr<TFreeTypeFont>;

// The font loader over FreeType (InitFreeTypeFonts links it).
class TFreeTypeFontLoader : public TFontLoader {
public:
    // Only a non-empty string URL is tried.
    TFontPtr LoadFont(const Url& url, int size, int style) override;
};

// The FreeType module's start-up: links one TFreeTypeFontLoader into the
// font loader chain (once).
void InitFreeTypeFonts();

}  // namespace kestrel

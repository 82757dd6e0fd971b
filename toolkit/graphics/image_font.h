// Image fonts: every glyph of a source font becomes a small TImage, drawn as
// a textured quad under the current colour, alpha, blend, scale and
// rotation. A built-in 8 x 16 font serves until the program sets its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/graphics/font.h"
#include "toolkit/graphics/image.h"

namespace kestrel {

class TImageGlyph : public Object {
public:
    TImagePtr Pixels() const { return _image; }
    float Advance() const { return _advance; }
    void GetRect(int& x, int& y, int& width, int& height) const;

    TImagePtr _image;  // nullptr for glyphs without pixels
    float _advance = 0;
    int _x = 0, _y = 0, _w = 0, _h = 0;
};
using TImageGlyphPtr = std::shared_ptr<TImageGlyph>;

class TImageFont;
using TImageFontPtr = std::shared_ptr<TImageFont>;

class TImageFont : public Object {
public:
    TFontPtr _src_font;  // nullptr for the built-in font
    std::vector<TImageGlyphPtr> _glyphs;  // made on demand
    int _imageFlags = 0;

    int Style();
    int Height();
    int CountGlyphs();
    // The built-in font maps 32..127 to 0..95; -1 for anything else.
    int CharToGlyph(int ch);
    // nullptr for an index outside the font.
    TImageGlyphPtr LoadGlyph(int index);
    // Lays the text out from (x, y) along the matrix: glyph tops sit _y
    // pixels below the start line; characters without a glyph are skipped.
    void Draw(std::string_view text, float x, float y, float ix, float iy, float jx, float jy);

    static TImageFontPtr Load(const Url& url, int size, int style);
    // The 96 glyphs of "kestrelfont.bin" (16 rows of 96 bytes; bit n of
    // byte k of row r is pixel column n of row r of glyph k).
    static TImageFontPtr CreateDefault();
};

// The built-in font, made on first use.
TImageFontPtr DefaultImageFont();

// nullptr when no font loader accepts the URL.
TImageFontPtr LoadImageFont(const Url& url, int size, int style = SMOOTHFONT);
// nullptr selects the built-in font. Stored in the current state record.
void SetImageFont(const TImageFontPtr& font);
TImageFontPtr GetImageFont();
// The sum of the glyph advances, truncated after each addition.
int TextWidth(std::string_view text);
int TextHeight();
void DrawText(std::string_view text, float x, float y);

// The image font module's start-up: registers "kestrelfont.bin" with the
// embedded-file registry (once).
void InitImageFonts();

}  // namespace kestrel

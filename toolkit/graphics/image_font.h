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

// One character of an image font: its picture and placement.
class TImageGlyph : public Object {
public:
    TImagePtr Pixels() const { return _image; }   // the glyph's image; null for glyphs without pixels
    float Advance() const { return _advance; }    // pixels the pen moves on after the glyph
    // The image's place in pixels, relative to the pen position and the top
    // of the line.
    void GetRect(int& x, int& y, int& width, int& height) const;

    TImagePtr _image;  // nullptr for glyphs without pixels
    float _advance = 0;  // see Advance
    // @{
    // The rectangle GetRect gives.
    int _x = 0, _y = 0, _w = 0, _h = 0;
    // @}
};
// A shared glyph.
using TImageGlyphPtr = std::shared_ptr<TImageGlyph>;

class TImageFont;
// A shared image font; null selects the built-in font where a font is set.
using TImageFontPtr = std::shared_ptr<TImageFont>;

// A font for DrawText: glyphs made into images on demand from a loaded font
// (a TrueType or other FreeType face) or the built-in 8 x 16 font.
class TImageFont : public Object {
public:
    int Style();        // the font style (BOLDFONT, ITALICFONT, SMOOTHFONT); 0 for the built-in font
    int Height();       // the line height in pixels (16 for the built-in font)
    int CountGlyphs();  // the number of glyphs
    // The image flags the glyphs' images are made with (SMOOTHFONT:
    // FILTEREDIMAGE | MIPMAPPEDIMAGE, else 0).
    int ImageFlags() const { return _imageFlags; }
    // The built-in font maps 32..127 to 0..95; -1 for anything else.
    int CharToGlyph(int ch);
    // The glyph that text draws for ch: CharToGlyph's answer, or for a
    // character the built-in font lacks its hollow box (the glyph of 127), so
    // that such text shows a box per character where it would show nothing.
    // A loaded font skips its missing characters: -1 for them.
    int DrawnGlyph(int ch);
    // nullptr for an index outside the font.
    TImageGlyphPtr LoadGlyph(int index);
    // Lays the text out from (x, y) along the matrix: glyph tops sit _y
    // pixels below the start line. Each character draws its DrawnGlyph; a
    // loaded font's characters without a glyph are skipped.
    void Draw(std::string_view text, float x, float y, float ix, float iy, float jx, float jy);

    // A font of size pixels from url through the font loaders; null when none
    // accepts it.
    static TImageFontPtr Load(const Url& url, int size, int style);
    // The 96 glyphs of "kestrelfont.bin" (16 rows of 96 bytes; bit n of
    // byte k of row r is pixel column n of row r of glyph k).
    static TImageFontPtr CreateDefault();

private:
    TFontPtr _src_font;  // nullptr for the built-in font
    std::vector<TImageGlyphPtr> _glyphs;  // made on demand
    int _imageFlags = 0;
};

// The built-in font, made on first use.
TImageFontPtr DefaultImageFont();

// A font of size pixels (its line height about that) from a TrueType or
// other font file, stream or "incbin::" name; style SMOOTHFONT (the default)
// draws it anti-aliased and filtered. nullptr when no font loader accepts
// the URL.
TImageFontPtr LoadImageFont(const Url& url, int size, int style = SMOOTHFONT);
// The font of DrawText, TextWidth and TextHeight from now on; nullptr
// selects the built-in font. Stored in the current state record (no
// graphics open raises TNullObjectException).
void SetImageFont(const TImageFontPtr& font);
// The current font (the built-in one unless SetImageFont chose another).
TImageFontPtr GetImageFont();
// The width in pixels of text (UTF-8) in the current font: the sum of the
// advances of the glyphs DrawText draws, truncated after each addition (the
// built-in font's boxes for characters it lacks included).
int TextWidth(std::string_view text);
// The line height in pixels of the current font.
int TextHeight();
// Draws text (UTF-8) with its top-left at (x, y), in the current font,
// colour, alpha, blend, rotation, scale and origin; a character the built-in
// font lacks draws as a hollow 8 x 16 box, one a loaded font lacks as nothing.
// The built-in font lacks all but 32..127: "é", a tab, each byte that is no
// valid UTF-8 are boxes. No graphics open raises TNullObjectException.
void DrawText(std::string_view text, float x, float y);

// The image font module's start-up: registers "kestrelfont.bin" with the
// embedded-file registry (once).
void InitImageFonts();

}  // namespace kestrel

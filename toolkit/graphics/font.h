// Source fonts: the abstract glyph and font that image fonts are made from,
// and the chain of font loaders (tried newest first).
#pragma once

#include <memory>

#include "toolkit/core/object.h"
#include "toolkit/resources/url.h"

namespace kestrel {

// Font styles (a bit set). BOLDFONT and ITALICFONT are kept with the font
// and change nothing; SMOOTHFONT gives every glyph a one-pixel transparent
// border and makes glyph images filtered and mipmapped.
inline constexpr int BOLDFONT = 1;    // bold (kept, no effect)
inline constexpr int ITALICFONT = 2;  // italic (kept, no effect)
inline constexpr int SMOOTHFONT = 4;  // anti-aliased, filtered glyphs

// One glyph of a loaded font, in pixels.
class TGlyph : public Object {
public:
    // A TPixmap, or nullptr for a glyph without pixels.
    virtual ObjectPtr Pixels() = 0;
    // Pixels the pen moves on after the glyph.
    virtual float Advance() = 0;
    // Placement relative to the pen position and the top of the line.
    virtual void GetRect(int& x, int& y, int& width, int& height) = 0;
};
// A shared glyph.
using TGlyphPtr = std::shared_ptr<TGlyph>;

// A font as a font loader reads it (image fonts are made from these).
class TFont : public Object {
public:
    virtual int Style() = 0;        // the style it was loaded with
    virtual int Height() = 0;       // the line height in pixels
    virtual int CountGlyphs() = 0;  // the number of glyphs
    // The glyph index of a character, or -1 when the font has none.
    virtual int CharToGlyph(int ch) = 0;
    // The glyph at index (0..CountGlyphs()-1); nullptr outside.
    virtual TGlyphPtr LoadGlyph(int index) = 0;
};
// A shared font.
using TFontPtr = std::shared_ptr<TFont>;

// Reads fonts of one kind; LoadImageFont tries the chain newest first.
class TFontLoader : public Object {
public:
    // The font of size pixels at url, or nullptr when this loader cannot.
    virtual TFontPtr LoadFont(const Url& url, int size, int style) = 0;

    // The next loader of the chain, or nullptr.
    const std::shared_ptr<TFontLoader>& Next() const { return _succ; }

private:
    friend void AddFontLoader(const std::shared_ptr<TFontLoader>& loader);
    std::shared_ptr<TFontLoader> _succ;  // set by AddFontLoader
};
// A shared font loader.
using TFontLoaderPtr = std::shared_ptr<TFontLoader>;

// Links the loader at the head of the chain, unless it is in the chain
// already (it has a successor, or it is the last loader). TNullObjectException for nullptr.
void AddFontLoader(const TFontLoaderPtr& loader);

// Asks each loader from the head; the first font returned wins; nullptr
// when all refuse.
TFontPtr LoadFont(const Url& url, int size, int style);

}  // namespace kestrel

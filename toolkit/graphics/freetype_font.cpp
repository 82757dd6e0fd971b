#include "toolkit/graphics/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cstring>

#include "toolkit/core/run_once.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/resources/stream_functions.h"
#include "toolkit/resources/missing_loader.h"
#include "toolkit/resources/load_report.h"

namespace kestrel {

namespace {

// Made on first use and kept for the whole run: faces may live until exit.
FT_Library Library() {
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    return library;
}

FT_Face Face(void* handle) { return static_cast<FT_Face>(handle); }

// Row r (from the top) of a FreeType bitmap; a negative pitch means the rows
// are stored bottom first.
const unsigned char* BitmapRow(const FT_Bitmap& bm, int r) {
    if (bm.pitch >= 0) return bm.buffer + std::ptrdiff_t(r) * bm.pitch;
    return bm.buffer + std::ptrdiff_t(int(bm.rows) - 1 - r) * -bm.pitch;
}

// The slot's bitmap as PF_A8 coverage, or nullptr for a kind of bitmap
// that is not one byte or one bit per pixel. A damaged font can give a
// bitmap with a size but no buffer (or rows shorter than its width), and
// that size can be anything the file states: such a glyph keeps its box but
// has no pixels, so nothing is allocated for what the font does not hold.
TPixmapPtr CoveragePixmap(const FT_Bitmap& bm) {
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.pixel_mode != FT_PIXEL_MODE_MONO) return nullptr;
    const long long w = bm.width, h = bm.rows;
    const long long rowBytes = bm.pixel_mode == FT_PIXEL_MODE_GRAY ? w : (w + 7) / 8;
    const long long pitch = bm.pitch < 0 ? -(long long)(bm.pitch) : (long long)(bm.pitch);
    if (!bm.buffer || pitch < rowBytes) return nullptr;
    // Past what a pixmap can hold (with room for the smooth border) there
    // is nothing to draw either.
    if (w > INT_MAX || h > INT_MAX || (w + 2 + 3) / 4 * 4 * (h + 2) > INT_MAX) return nullptr;
    TPixmapPtr pix = CreatePixmap(int(w), int(h), PF_A8, 4);
    for (int r = 0; r < pix->height; ++r) {
        const unsigned char* src = BitmapRow(bm, r);
        std::uint8_t* dst = pix->PixelPtr(0, r);
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            std::memcpy(dst, src, std::size_t(pix->width));
        } else {
            // Bit 7 of byte 0 is pixel 0, bit 6 pixel 1, and so on.
            for (int x = 0; x < pix->width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        }
    }
    return pix;
}

// A copy two pixels larger each way, cleared, with the glyph at (1, 1).
TPixmapPtr WithBorder(const TPixmapPtr& pix) {
    TPixmapPtr big = CreatePixmap(pix->width + 2, pix->height + 2, PF_A8, 4);
    big->ClearPixels(0);
    big->Paste(*pix, 1, 1);
    return big;
}

}  // namespace

void TFreeTypeGlyph::GetRect(int& x, int& y, int& width, int& height) {
    x = _x;
    y = _y;
    width = _w;
    height = _h;
}

TFreeTypeFont::~TFreeTypeFont() {
    if (_ft_face) FT_Done_Face(Face(_ft_face));
}

int TFreeTypeFont::CharToGlyph(int ch) {
    if (ch < 0) return -1;
    return int(FT_Get_Char_Index(Face(_ft_face), FT_ULong(ch))) - 1;
}

TGlyphPtr TFreeTypeFont::LoadGlyph(int index) {
    if (index < 0 || index >= int(_glyphs.size())) return nullptr;
    if (_glyphs[std::size_t(index)]) return _glyphs[std::size_t(index)];
    auto glyph = std::make_shared<TFreeTypeGlyph>();
    _glyphs[std::size_t(index)] = glyph;

    FT_Face face = Face(_ft_face);
    if (FT_Load_Glyph(face, FT_UInt(index + 1), FT_LOAD_RENDER) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    glyph->_x = slot->bitmap_left;
    glyph->_y = _ascend - slot->bitmap_top;
    // A damaged font may state a box beyond any int.
    glyph->_w = int(std::min<unsigned>(bm.width, INT_MAX));
    glyph->_h = int(std::min<unsigned>(bm.rows, INT_MAX));
    glyph->_advance = float(slot->advance.x >> 6);
    if (bm.width == 0 || bm.rows == 0) return glyph;

    glyph->_pixmap = CoveragePixmap(bm);
    if (glyph->_pixmap && (_style & SMOOTHFONT)) {
        glyph->_x -= 1;
        glyph->_y -= 1;
        glyph->_w += 2;
        glyph->_h += 2;
        glyph->_pixmap = WithBorder(glyph->_pixmap);
    }
    return glyph;
}

namespace {

// FreeType's refusal of a file in words.
std::nullptr_t RefuseFont(FT_Error error) {
    if (error == FT_Err_Unknown_File_Format)
        SetLoadReason("FreeType: not a TrueType or OpenType font");
    else if (error == FT_Err_Invalid_File_Format || error == FT_Err_Invalid_Stream_Operation)
        SetLoadReason("FreeType: a damaged or truncated font file");
    else
        SetLoadReason("FreeType: error " + std::to_string(error));
    return nullptr;
}

}  // namespace

TFreeTypeFontPtr TFreeTypeFont::Load(const std::string& src, int size, int style) {
    FT_Library library = Library();
    if (!library) {
        SetLoadReason("FreeType could not be started");
        return nullptr;
    }

    auto font = std::make_shared<TFreeTypeFont>();
    FT_Face face = nullptr;
    const auto sep = src.find("::");
    if (sep != std::string::npos && sep > 0) {
        // Raises TStreamReadException when the URL cannot be opened (the
        // reason is then in LastLoadError()).
        font->_buf = LoadByteArray(src);
        if (font->_buf.empty()) {
            SetLoadReason("empty (0 bytes)");
            return nullptr;
        }
        if (const FT_Error e =
                FT_New_Memory_Face(library, font->_buf.data(), FT_Long(font->_buf.size()), 0, &face))
            return RefuseFont(e);
    } else {
        if (const FT_Error e = FT_New_Face(library, src.c_str(), 0, &face)) {
            if (e == FT_Err_Cannot_Open_Resource) {
                SetLoadReason(FileOpenReason(src));
                return nullptr;
            }
            return RefuseFont(e);
        }
    }
    font->_ft_face = face;  // closed by the destructor from here on

    int s = size;
    while (s >= 1 && FT_Set_Pixel_Sizes(face, 0, FT_UInt(s)) != 0) --s;
    if (s < 1) {
        SetLoadReason("FreeType: the font has no size up to " + std::to_string(size) + " pixels");
        return nullptr;
    }
    font->_pixel_size = s;

    // 26.6 fixed point to whole pixels (arithmetic shift).
    const FT_Size_Metrics& m = face->size->metrics;
    font->_height = int(m.height >> 6);
    font->_ascend = int(m.ascender >> 6);
    font->_descend = int(m.descender >> 6);
    font->_style = style;
    font->_glyphs.resize(std::size_t(face->num_glyphs > 0 ? face->num_glyphs : 0));
    return font;
}

TFontPtr TFreeTypeFontLoader::LoadFont(const Url& url, int size, int style) {
    if (!url.IsString() || url.Text().empty()) {
        SetLoadReason("the FreeType font loader reads a file name or a \"protocol::path\" URL");
        return nullptr;
    }
    return TFreeTypeFont::Load(url.Text(), size, style);
}

void InitFreeTypeFonts() {
    static bool done = false;
    RunOnce(done, [] {
        InitStreamFactories();  // fonts are read from stream URLs
        AddFontLoader(std::make_shared<TFreeTypeFontLoader>());
        NoteLoaderRegistered(DataFormat::TrueType);
    });
}

}  // namespace kestrel

// The outline font loader on the input as a font file: LoadFont reads it
// through a stream URL ("fuzzmem::font", served from memory by a factory of
// this target) into the FreeType loader at a small pixel size, then a few
// characters and glyph indices are looked up and rasterised. Bad data must
// be refused (nullptr) without crashing or leaking, and every glyph that is
// made must be consistent: its coverage pixmap exactly as large as its rect.
// Nothing here needs a window: only the FreeType font object and its glyph
// bitmaps are exercised, not the image font textures made from them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/graphics/font.h"
#include "toolkit/graphics/freetype_font.h"
#include "toolkit/resources/pixel_format.h"
#include "toolkit/resources/pixmap.h"
#include "toolkit/resources/ram_stream.h"
#include "toolkit/resources/stream_factory.h"

namespace {

const std::uint8_t* g_data = nullptr;
std::size_t g_size = 0;

// Serves "fuzzmem::font" as a read-only stream over the current input.
class TFuzzInputFactory : public kestrel::TStreamFactory {
public:
    kestrel::TStreamPtr CreateStream(const kestrel::Url&, const std::string& protocol,
                                     const std::string& path, int readable,
                                     int writeable) override {
        if (protocol != "fuzzmem" || path != "font" || writeable || !g_data) return nullptr;
        return kestrel::TRamStream::Create(const_cast<std::uint8_t*>(g_data),
                                           std::int64_t(g_size), readable, 0);
    }
};

void CheckGlyph(kestrel::TFont& font, int index) {
    kestrel::TGlyphPtr glyph = font.LoadGlyph(index);
    if (index < 0 || index >= font.CountGlyphs()) {
        if (glyph) __builtin_trap();  // out of range must be refused
        return;
    }
    if (!glyph) __builtin_trap();  // in range: always a glyph, maybe empty
    if (font.LoadGlyph(index) != glyph) __builtin_trap();  // made once, then kept
    int x = 0, y = 0, w = 0, h = 0;
    glyph->GetRect(x, y, w, h);
    if (w < 0 || h < 0) __builtin_trap();
    auto pix = std::dynamic_pointer_cast<kestrel::TPixmap>(glyph->Pixels());
    if (glyph->Pixels() && !pix) __builtin_trap();
    if (!pix) return;
    if (pix->width != w || pix->height != h || pix->format != kestrel::PF_A8) __builtin_trap();
    // Touch both ends of every row: the pixmap must really hold its rows
    // (whole rows are copied in by the loader, where ASan checks them).
    volatile std::uint8_t sink = 0;
    for (int r = 0; r < pix->height; ++r)
        sink = sink + *pix->PixelPtr(0, r) + *pix->PixelPtr(pix->width - 1, r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TFuzzInputFactory* factory = [] {
        kestrel::InitFreeTypeFonts();
        return new TFuzzInputFactory();  // linked in the stream chain for the run
    }();
    (void)factory;

    g_data = data;
    g_size = size;
    // Odd lengths also try the smoothed glyphs with their one-pixel border.
    const int style = (size & 1) ? kestrel::SMOOTHFONT : 0;
    const int pixels = 12;
    kestrel::TFontPtr font = kestrel::LoadFont("fuzzmem::font", pixels, style);
    g_data = nullptr;
    g_size = 0;
    if (!font) return 0;

    auto ft = std::dynamic_pointer_cast<kestrel::TFreeTypeFont>(font);
    if (!ft) __builtin_trap();
    if (ft->PixelSize() < 1 || ft->PixelSize() > pixels) __builtin_trap();
    if (font->Style() != style || font->CountGlyphs() < 0) __builtin_trap();

    static const int chars[] = {'0', '7', 'A', 'g', ' ', '.', 0xE9, 0x263A, -5};
    for (int ch : chars) {
        const int index = font->CharToGlyph(ch);
        if (index < -1 || index >= font->CountGlyphs()) __builtin_trap();
        if (index >= 0) CheckGlyph(*font, index);
    }
    // The first few glyphs by index, the last one and one past it.
    for (int i = -1; i < 3; ++i) CheckGlyph(*font, i);
    CheckGlyph(*font, font->CountGlyphs() - 1);
    CheckGlyph(*font, font->CountGlyphs());
    return 0;
}

#include "toolkit/core/error.h"
#include "toolkit/graphics/gl_image_frame.h"

namespace kestrel {

TPixmapPtr TextureLayoutPixmap(const TPixmapPtr& source, int tw, int th) {
    TPixmap& src = *NonNull(source);
    const int w = src.width, h = src.height;
    if (w >= tw && h >= th) {
        return src.format == PF_RGBA8888 ? source : src.Convert(PF_RGBA8888);
    }
    TPixmapPtr tex = CreatePixmap(tw, th, PF_RGBA8888, 4);
    // The spare area beyond the repeated edges is transparent black, so that
    // the texture's contents (and its smaller mipmap levels) are defined.
    tex->ClearPixels(0);
    tex->Paste(src, 0, 0);
    if (w < tw && w > 0) tex->Paste(*src.Window(w - 1, 0, 1, h), w, 0);
    if (h < th && h > 0) tex->Paste(*src.Window(0, h - 1, w, 1), 0, h);
    if (w < tw && h < th && w > 0 && h > 0) tex->Paste(*src.Window(w - 1, h - 1, 1, 1), w, h);
    return tex;
}

}  // namespace kestrel

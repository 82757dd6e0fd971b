// XFlipPixmap and YFlipPixmap: mirrored copies.
#include <cstring>

#include "toolkit/core/error.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

TPixmapPtr XFlipPixmap(const TPixmapPtr& pixmap) {
    const TPixmap& src = *NonNull(pixmap);
    TPixmapPtr out = TPixmap::Create(src.width, src.height, src.format, 4);
    const int bpp = BytesPerPixel[src.format];
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            std::memcpy(out->PixelPtr(src.width - 1 - x, y), src.PixelPtr(x, y), bpp);
    return out;
}

TPixmapPtr YFlipPixmap(const TPixmapPtr& pixmap) {
    const TPixmap& src = *NonNull(pixmap);
    TPixmapPtr out = TPixmap::Create(src.width, src.height, src.format, 4);
    const std::size_t rowBytes = static_cast<std::size_t>(src.width) * BytesPerPixel[src.format];
    for (int y = 0; y < src.height; ++y)
        std::memcpy(out->PixelPtr(0, src.height - 1 - y), src.PixelPtr(0, y), rowBytes);
    return out;
}

}  // namespace kestrel

#include "toolkit/graphics/window_icon.h"

#include "toolkit/resources/pixel_format.h"

namespace kestrel {

namespace {

TPixmapPtr g_icon;

}  // namespace

void SetGraphicsIcon(const TPixmapPtr& pixmap) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 || !pixmap->pixels) {
        g_icon = nullptr;
        return;
    }
    // Always a private copy: Convert makes one even when the format matches.
    g_icon = pixmap->Convert(PF_RGBA8888);
}

TPixmapPtr GraphicsIcon() { return g_icon; }

}  // namespace kestrel

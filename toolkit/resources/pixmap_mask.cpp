// MaskPixmap: a colour key turned into alpha.
#include <cstring>

#include "toolkit/core/error.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

TPixmapPtr MaskPixmap(const TPixmapPtr& pixmap, int r, int g, int b) {
    TPixmapPtr src = NonNull(pixmap);
    if (src->format != PF_RGBA8888) src = src->Convert(PF_RGBA8888);
    const int w = src->width;
    const int h = src->height;
    TPixmapPtr out = TPixmap::Create(w, h, PF_RGBA8888, 4);
    auto isMask = [&](const std::uint8_t* p) { return p[0] == r && p[1] == g && p[2] == b; };

    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src->PixelPtr(x, y);
            std::uint8_t* q = out->PixelPtr(x, y);
            if (!isMask(p)) {
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
                q[3] = 255;
                continue;
            }
            // A masked pixel takes the average colour of its unmasked
            // neighbours, so that filtering at the edge does not bleed the
            // key colour into the picture.
            int sum[3] = {0, 0, 0};
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx == 0 && dy == 0) continue;
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const std::uint8_t* np = src->PixelPtr(nx, ny);
                    if (isMask(np)) continue;
                    sum[0] += np[0];
                    sum[1] += np[1];
                    sum[2] += np[2];
                    ++n;
                }
            }
            for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(n ? sum[c] / n : 0);
            q[3] = 0;
        }
    }
    return out;
}

}  // namespace kestrel

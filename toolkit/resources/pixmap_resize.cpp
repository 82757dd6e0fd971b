// ResizePixmap: bilinear scaling through PF_RGBA8888.
#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

namespace {

// Where destination pixel `d` samples an axis of `srcLen` pixels: the two
// source pixels and the weight of the second. Outside the first and last
// pixel centres the nearest edge pixel is used alone.
struct Sample {
    int i0, i1;
    float f;
};

Sample SampleAt(int d, float ratio, int srcLen) {
    const float s = (static_cast<float>(d) + 0.5f) * ratio - 0.5f;
    const float fl = std::floor(s);
    const int i = static_cast<int>(fl);
    if (i < 0) return {0, 0, 0.0f};
    if (i >= srcLen - 1) return {srcLen - 1, srcLen - 1, 0.0f};
    return {i, i + 1, s - fl};
}

}  // namespace

TPixmapPtr ResizePixmap(const TPixmapPtr& pixmap, int width, int height) {
    TPixmapPtr src = NonNull(pixmap);
    const int format = src->format;
    TPixmapPtr out = TPixmap::Create(width, height, format, 4);
    if (width == 0 || height == 0) return out;
    if (src->width <= 0 || src->height <= 0) {
        out->ClearPixels(0);  // nothing to sample
        return out;
    }
    if (format != PF_RGBA8888) src = src->Convert(PF_RGBA8888);

    const float xr = static_cast<float>(src->width) / static_cast<float>(width);
    const float yr = static_cast<float>(src->height) / static_cast<float>(height);
    std::vector<Sample> xs(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) xs[x] = SampleAt(x, xr, src->width);

    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        const Sample sy = SampleAt(y, yr, src->height);
        for (int x = 0; x < width; ++x) {
            const Sample& sx = xs[x];
            const std::uint8_t* a = src->PixelPtr(sx.i0, sy.i0);
            const std::uint8_t* b = src->PixelPtr(sx.i1, sy.i0);
            const std::uint8_t* c = src->PixelPtr(sx.i0, sy.i1);
            const std::uint8_t* d = src->PixelPtr(sx.i1, sy.i1);
            for (int ch = 0; ch < 4; ++ch) {
                const float top = a[ch] + (b[ch] - a[ch]) * sx.f;
                const float bottom = c[ch] + (d[ch] - c[ch]) * sx.f;
                const int v = static_cast<int>(top + (bottom - top) * sy.f);
                row[static_cast<std::size_t>(x) * 4 + ch] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            }
        }
        ConvertPixels(row.data(), PF_RGBA8888, out->PixelPtr(0, y), format, width);
    }
    return out;
}

}  // namespace kestrel

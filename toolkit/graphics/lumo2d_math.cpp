#include "toolkit/graphics/lumo2d_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace kestrel {

Matrix2 TransformMatrix(float rotation_degrees, float scale_x, float scale_y) {
    const double rad = double(rotation_degrees) * std::numbers::pi / 180.0;
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    Matrix2 m;
    m.ix = float(c * scale_x);
    m.iy = float(-s * scale_y);
    m.jx = float(s * scale_x);
    m.jy = float(c * scale_y);
    return m;
}

bool DrawMagnifies(const Matrix2& m, float pixels_per_unit_x, float pixels_per_unit_y,
                   float local_per_texel_x, float local_per_texel_y) {
    const double px = pixels_per_unit_x, py = pixels_per_unit_y;
    const double kx = local_per_texel_x, ky = local_per_texel_y;
    const double a = px * m.ix * kx, b = px * m.iy * ky;
    const double c = py * m.jx * kx, d = py * m.jy * ky;
    const double sum = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    // The squared singular values are (sum -+ sqrt(sum^2 - 4 det^2)) / 2.
    const double root = std::sqrt(std::max(0.0, sum * sum - 4 * det * det));
    const double smallest = (sum - root) / 2;
    constexpr double kAllowance = 1.0 - 1e-4;
    return smallest >= kAllowance * kAllowance;
}

int OvalSegments(float rx, float ry) {
    int segs = int(std::fabs(rx) + std::fabs(ry));
    if (segs < 12) segs = 12;
    return segs & ~3;
}

std::vector<TriangleIndices> ConvexPolygonTriangles(int n) {
    std::vector<TriangleIndices> out;
    if (n < 3) return out;
    out.reserve(static_cast<std::size_t>(n - 2));
    const int third = n / 3, twoThirds = (2 * n) / 3;
    out.push_back({0, third, twoThirds});
    // Arcs [from, to] of the outline still to fill; index n stands for 0.
    std::vector<std::pair<int, int>> arcs{{0, third}, {third, twoThirds}, {twoThirds, n}};
    while (!arcs.empty()) {
        const auto [from, to] = arcs.back();
        arcs.pop_back();
        if (to - from < 2) continue;
        const int mid = (from + to) / 2;
        out.push_back({from, mid, to % n});
        arcs.push_back({from, mid});
        arcs.push_back({mid, to});
    }
    return out;
}

std::uint8_t AlphaByte(float alpha) {
    // NaN compares false both ways; treat it as transparent.
    if (!(alpha >= 0.0f)) alpha = 0.0f;
    if (alpha > 1.0f) alpha = 1.0f;
    return std::uint8_t(int(alpha * 255.0f));
}

std::uint8_t ColorByte(int component) {
    if (component < 0) return 0;
    if (component > 255) return 255;
    return std::uint8_t(component);
}

PixelRect ViewportToPixels(int x, int y, int w, int h, float xscale, float yscale) {
    // Single-precision quotients, as the record's scales are floats.
    const int x0 = int(std::floor(float(x) / xscale));
    const int y0 = int(std::floor(float(y) / yscale));
    const int x1 = int(std::floor(float(x + w) / xscale));
    const int y1 = int(std::floor(float(y + h) / yscale));
    return {x0, y0, x1 - x0, y1 - y0};
}

ScissorState ScissorFor(const PixelRect& v, int gw, int gh) {
    if (v == PixelRect{0, 0, gw, gh}) return {};
    return {true, {v.x, gh - v.y - v.h, v.w, v.h}};
}

PixelRect ReadBoxFor(int x, int y, int w, int h, int gh) { return {x, gh - h - y, w, h}; }

namespace {

// v as a whole number when it lies within 1/1024 of one.
bool WholePixel(double v, long& whole) {
    const double r = std::round(v);
    if (!(std::abs(v - r) <= 1.0 / 1024) || !(std::abs(r) <= 1e9)) return false;
    whole = long(r);
    return true;
}

}  // namespace

bool PixelAlignedBox(const Matrix2& m, float pixels_per_unit_x, float pixels_per_unit_y,
                     float x0, float y0, float x1, float y1, float tx, float ty, PixelRect& box) {
    if (m.iy != 0 || m.jx != 0 || !(m.ix > 0) || !(m.jy > 0)) return false;
    if (!(pixels_per_unit_x > 0) || !(pixels_per_unit_y > 0)) return false;
    const Point2 a = TransformPoint(m, x0, y0, tx, ty), b = TransformPoint(m, x1, y1, tx, ty);
    long left, top, right, bottom;
    if (!WholePixel(double(a.x) * pixels_per_unit_x, left) ||
        !WholePixel(double(a.y) * pixels_per_unit_y, top) ||
        !WholePixel(double(b.x) * pixels_per_unit_x, right) ||
        !WholePixel(double(b.y) * pixels_per_unit_y, bottom))
        return false;
    if (right <= left || bottom <= top || right - left > 1 << 16 || bottom - top > 1 << 16)
        return false;
    box = {int(left), int(top), int(right - left), int(bottom - top)};
    return true;
}

bool BoxInside(const Box& inner, const Box& outer) {
    return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 &&
           inner.y1 <= outer.y1;
}

bool BoxesOverlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

std::vector<Box> BoxMinusBoxes(const Box& whole, const std::vector<Box>& holes) {
    std::vector<float> ys{whole.y0, whole.y1};
    for (const Box& h : holes) {
        ys.push_back(h.y0);
        ys.push_back(h.y1);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<Box> out;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        const float top = ys[i], bottom = ys[i + 1];
        if (top < whole.y0 || bottom > whole.y1) continue;
        std::vector<const Box*> across;
        for (const Box& h : holes)
            if (h.y0 <= top && h.y1 >= bottom && h.x1 > h.x0) across.push_back(&h);
        std::sort(across.begin(), across.end(),
                  [](const Box* a, const Box* b) { return a->x0 < b->x0; });
        float x = whole.x0;
        for (const Box* h : across) {
            if (h->x0 > x) out.push_back({x, top, h->x0, bottom});
            x = std::max(x, h->x1);
        }
        if (whole.x1 > x) out.push_back({x, top, whole.x1, bottom});
    }
    return out;
}

}  // namespace kestrel

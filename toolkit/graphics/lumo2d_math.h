// The renderer's arithmetic, kept free of any rendering API so that it can
// be checked on its own: the 2x2 drawing matrix, point transformation, the
// oval segment count, colour and alpha bytes, the viewport in pixels, the
// scissor box in OpenGL's upward y and the parts of a rectangle that others
// leave uncovered.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrel {

// Local (u, v) maps to (u*ix + v*iy + tx, u*jx + v*jy + ty).
struct Matrix2 {
    float ix = 0, iy = 0, jx = 0, jy = 0;
};

struct Point2 {
    float x = 0, y = 0;
};

// ix = cos(rot)*sx, iy = -sin(rot)*sy, jx = sin(rot)*sx, jy = cos(rot)*sy,
// with rot in degrees.
Matrix2 TransformMatrix(float rotation_degrees, float scale_x, float scale_y);

inline Point2 TransformPoint(const Matrix2& m, float u, float v, float tx, float ty) {
    return {u * m.ix + v * m.iy + tx, u * m.jx + v * m.jy + ty};
}

// Whether a textured draw keeps or enlarges its texture in every direction:
// the map from texels to window pixels (the drawing matrix m between the
// local scale of a texel, local_per_texel_x/y, and the window pixels per
// drawing unit, pixels_per_unit_x/y) has a smallest singular value of at
// least 1. Every texel derivative OpenGL can compute is then at most one
// texel per pixel, so it samples with the magnification filter and a mip
// chain takes no part in the picture. A 1e-4 allowance covers the rounding
// of rotation matrices (a mip level weight that small is below one 8-bit
// step). A degenerate map (a zero size) does not magnify.
bool DrawMagnifies(const Matrix2& m, float pixels_per_unit_x, float pixels_per_unit_y,
                   float local_per_texel_x, float local_per_texel_y);

// Segments of a filled oval with radii rx, ry: Int(|rx| + |ry|), at least
// 12, rounded down to a multiple of 4.
int OvalSegments(float rx, float ry);

// The n - 2 triangles (vertex indices) that fill a convex polygon of n
// vertices, split so that most of them are small: one triangle joins three
// points a third of the way round, then each remaining arc is cut at its
// middle. They cover exactly the pixels of the polygon, like a fan from
// vertex 0, but a fan's long slivers cross many raster tiles each, which
// makes big ovals very slow on software rasterisers. Fewer than 3 vertices
// give no triangle.
struct TriangleIndices {
    int a = 0, b = 0, c = 0;
};
std::vector<TriangleIndices> ConvexPolygonTriangles(int n);

// Alpha clamped to [0, 1], then Int(alpha * 255) truncated.
std::uint8_t AlphaByte(float alpha);

// A colour component clamped to 0..255.
std::uint8_t ColorByte(int component);

struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A viewport in virtual units to pixels: each edge divided by the virtual
// scale (units per pixel) and floored; the size is the difference of edges.
PixelRect ViewportToPixels(int x, int y, int w, int h, float xscale, float yscale);

// The scissor state for a pixel viewport on graphics of gw x gh pixels: off
// when the viewport is the whole graphics, else the box with y measured
// upward from the bottom row as OpenGL wants it.
struct ScissorState {
    bool enabled = false;
    PixelRect box;
};
ScissorState ScissorFor(const PixelRect& viewport, int gw, int gh);

// The frame-buffer box that reads the pixels of the window rectangle
// (x, y, w, h), y downward, on graphics gh pixels high.
PixelRect ReadBoxFor(int x, int y, int w, int h, int gh);

// The window pixels a textured quad covers, when they are a whole-pixel
// box: the drawing matrix m scales without turning or mirroring, and the
// corners of the local quad (x0, y0)-(x1, y1), offset by (tx, ty) and taken
// to window pixels (pixels_per_unit_x/y), lie within 1/1024 of a pixel of
// whole pixels, with a size of at least one pixel each way. Every pixel of
// such a box then samples the texture where the same quad drawn at the
// window's origin samples it. False otherwise.
bool PixelAlignedBox(const Matrix2& m, float pixels_per_unit_x, float pixels_per_unit_y,
                     float x0, float y0, float x1, float y1, float tx, float ty, PixelRect& box);

// A rectangle in drawing units, from (x0, y0) to (x1, y1).
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// Whether inner lies inside outer (edges may touch).
bool BoxInside(const Box& inner, const Box& outer);
// Whether two boxes share area (touching edges do not count).
bool BoxesOverlap(const Box& a, const Box& b);

// The part of `whole` that the boxes `holes` leave uncovered, as boxes that
// do not overlap, in bands from the top: each band spans the y between two
// consecutive edges, and its boxes are the x gaps between the holes that
// cross it. Every edge of a result is an edge of `whole` or of a hole, so
// that drawn with the holes they fill `whole` with no pixel drawn twice and
// none left out. The holes must lie inside `whole` and apart.
std::vector<Box> BoxMinusBoxes(const Box& whole, const std::vector<Box>& holes);

}  // namespace kestrel

// The renderer's arithmetic: matrix, transformed shapes, oval segments,
// colour and alpha bytes, viewport and scissor boxes, the uncovered parts of
// a rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>
#include <limits>

#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel {
namespace {

TEST(Lumo2DMath, MatrixOfScaleAndRotation) {
    const Matrix2 id = TransformMatrix(0, 1, 1);
    EXPECT_FLOAT_EQ(id.ix, 1);
    EXPECT_FLOAT_EQ(id.iy, 0);
    EXPECT_FLOAT_EQ(id.jx, 0);
    EXPECT_FLOAT_EQ(id.jy, 1);

    // Scale 2, rotation 90: the rectangle (0,0)-(10,5) drawn at (100,100)
    // covers the quad (100,100), (100,120), (90,120), (90,100).
    const Matrix2 m = TransformMatrix(90, 2, 2);
    const Point2 corners[4] = {TransformPoint(m, 0, 0, 100, 100), TransformPoint(m, 10, 0, 100, 100),
                               TransformPoint(m, 10, 5, 100, 100), TransformPoint(m, 0, 5, 100, 100)};
    const float want[4][2] = {{100, 100}, {100, 120}, {90, 120}, {90, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(corners[i].x, want[i][0], 1e-4) << i;
        EXPECT_NEAR(corners[i].y, want[i][1], 1e-4) << i;
    }

    // Unequal scales: x scale goes with the first column, y scale with the second.
    const Matrix2 s = TransformMatrix(30, 2, 3);
    EXPECT_NEAR(s.ix, std::cos(M_PI / 6) * 2, 1e-6);
    EXPECT_NEAR(s.iy, -std::sin(M_PI / 6) * 3, 1e-6);
    EXPECT_NEAR(s.jx, std::sin(M_PI / 6) * 2, 1e-6);
    EXPECT_NEAR(s.jy, std::cos(M_PI / 6) * 3, 1e-6);
}

TEST(Lumo2DMath, NegatedHandlePutsTheHandlePointOnThePosition) {
    // SetHandle(8, 4) stores (-8, -4); DrawRect(100, 100, 16, 8) then spans
    // (92, 96)-(108, 104).
    const Matrix2 id = TransformMatrix(0, 1, 1);
    const Point2 a = TransformPoint(id, -8, -4, 100, 100);
    const Point2 b = TransformPoint(id, -8 + 16, -4 + 8, 100, 100);
    EXPECT_FLOAT_EQ(a.x, 92);
    EXPECT_FLOAT_EQ(a.y, 96);
    EXPECT_FLOAT_EQ(b.x, 108);
    EXPECT_FLOAT_EQ(b.y, 104);
}

TEST(Lumo2DMath, OvalSegments) {
    EXPECT_EQ(OvalSegments(5, 5), 12);     // 10 x 10 box
    EXPECT_EQ(OvalSegments(50, 30), 80);   // 100 x 60 box
    EXPECT_EQ(OvalSegments(0, 0), 12);     // at least 12
    EXPECT_EQ(OvalSegments(-7, 6.9f), 12); // |rx| + |ry| = 13.9 -> 13 -> 12
    EXPECT_EQ(OvalSegments(13.5f, 13.9f), 24);  // 27 rounded down to 24
    EXPECT_EQ(OvalSegments(-50, -30), 80);
}

// The triangles of a convex polygon tile it: n - 2 of them, each turning the
// same way as the outline, their areas adding up to the polygon's, and each
// outline edge in exactly one triangle. Most are small: the longest edge of
// all but a few is short next to the outline.
TEST(Lumo2DMath, ConvexPolygonTrianglesTileThePolygon) {
    EXPECT_TRUE(ConvexPolygonTriangles(2).empty());
    EXPECT_TRUE(ConvexPolygonTriangles(0).empty());
    for (const int n : {3, 4, 5, 7, 12, 80, 508, 1020}) {
        std::vector<Point2> p(n);
        for (int i = 0; i < n; ++i) {
            const double th = 2 * std::numbers::pi * i / n;
            p[i] = {float(100 * std::cos(th)), float(100 * std::sin(th))};
        }
        const auto cross = [&](int a, int b, int c) {
            return (double(p[b].x) - p[a].x) * (double(p[c].y) - p[a].y) -
                   (double(p[b].y) - p[a].y) * (double(p[c].x) - p[a].x);
        };
        const auto tris = ConvexPolygonTriangles(n);
        ASSERT_EQ(tris.size(), std::size_t(n - 2)) << n;
        double area = 0, polygon = 0;
        std::vector<int> edgeUses(n, 0);
        int longOnes = 0;
        for (const TriangleIndices& t : tris) {
            for (const int k : {t.a, t.b, t.c}) ASSERT_TRUE(k >= 0 && k < n) << n;
            const double c = cross(t.a, t.b, t.c);
            EXPECT_GT(c, 0) << n << ": " << t.a << " " << t.b << " " << t.c;
            area += c / 2;
            for (const auto& [u, v] : {std::pair{t.a, t.b}, std::pair{t.b, t.c}, std::pair{t.c, t.a}}) {
                if ((u + 1) % n == v) ++edgeUses[u];
                if ((v + 1) % n == u) ++edgeUses[v];
                if (std::min((v - u + n) % n, (u - v + n) % n) > n / 8) ++longOnes;
            }
        }
        for (int i = 1; i + 1 < n; ++i) polygon += cross(0, i, i + 1) / 2;
        EXPECT_NEAR(area, polygon, polygon * 1e-9) << n;
        for (int i = 0; i < n; ++i) EXPECT_EQ(edgeUses[i], 1) << n << " edge " << i;
        // A fan has n - 3 edges spanning over an eighth of the outline.
        if (n >= 80) {
            EXPECT_LE(longOnes, 40) << n;
        }
    }
}

TEST(Lumo2DMath, AlphaAndColourBytes) {
    EXPECT_EQ(AlphaByte(1.5f), 255);
    EXPECT_EQ(AlphaByte(1.0f), 255);
    EXPECT_EQ(AlphaByte(0.5f), 127);  // 127.5 truncated
    EXPECT_EQ(AlphaByte(0.0f), 0);
    EXPECT_EQ(AlphaByte(-3.0f), 0);
    EXPECT_EQ(AlphaByte(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ColorByte(-1), 0);
    EXPECT_EQ(ColorByte(0), 0);
    EXPECT_EQ(ColorByte(128), 128);
    EXPECT_EQ(ColorByte(255), 255);
    EXPECT_EQ(ColorByte(300), 255);
}

TEST(Lumo2DMath, ViewportScissorAndReadBoxes) {
    // Unit scale: unchanged.
    EXPECT_EQ(ViewportToPixels(10, 20, 30, 40, 1, 1), (PixelRect{10, 20, 30, 40}));
    // Two virtual units per pixel: edges halved and floored, size from edges.
    EXPECT_EQ(ViewportToPixels(11, 21, 31, 41, 2, 2), (PixelRect{5, 10, 16, 21}));
    // Half a unit per pixel doubles.
    EXPECT_EQ(ViewportToPixels(3, 4, 5, 6, 0.5f, 0.5f), (PixelRect{6, 8, 10, 12}));
    // Negative coordinates floor downward.
    EXPECT_EQ(ViewportToPixels(-3, -3, 4, 4, 2, 2), (PixelRect{-2, -2, 2, 2}));

    EXPECT_FALSE(ScissorFor({0, 0, 320, 240}, 320, 240).enabled);
    const ScissorState s = ScissorFor({10, 20, 30, 40}, 320, 240);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.box, (PixelRect{10, 240 - 20 - 40, 30, 40}));
    // A box equal to the graphics only in size still clips.
    EXPECT_TRUE(ScissorFor({1, 0, 320, 240}, 320, 240).enabled);

    EXPECT_EQ(ReadBoxFor(5, 7, 20, 10, 240), (PixelRect{5, 240 - 10 - 7, 20, 10}));
}

TEST(Lumo2DMath, DrawMagnifiesOnlyWhenNoDirectionShrinksTheTexture) {
    // Scale 1 at any angle keeps every texel a pixel wide.
    for (float angle : {0.0f, 30.0f, 45.0f, 90.0f, 137.5f, 359.0f})
        EXPECT_TRUE(DrawMagnifies(TransformMatrix(angle, 1, 1), 1, 1, 1, 1)) << angle;
    EXPECT_TRUE(DrawMagnifies(TransformMatrix(20, 1.5f, 3), 1, 1, 1, 1));
    EXPECT_TRUE(DrawMagnifies(TransformMatrix(0, -1, 1), 1, 1, 1, 1));  // a mirror
    // One shrinking direction is enough to need the mip chain.
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 1.2f, 0.9f), 1, 1, 1, 1));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(30, 1.3f, 0.95f), 1, 1, 1, 1));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 0.5f, 0.5f), 1, 1, 1, 1));
    // A shear can shrink a direction that neither axis shows.
    EXPECT_FALSE(DrawMagnifies(Matrix2{1, 1, 0, 1}, 1, 1, 1, 1));
    // The allowance covers rounding only.
    EXPECT_TRUE(DrawMagnifies(TransformMatrix(0, 0.99995f, 1), 1, 1, 1, 1));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 0.999f, 1), 1, 1, 1, 1));
    // The virtual resolution and the quad's own size count: half a pixel
    // per unit needs a scale of 2; a quad twice the picture's size a half.
    EXPECT_TRUE(DrawMagnifies(TransformMatrix(10, 2, 2), 0.5f, 0.5f, 1, 1));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(10, 1.9f, 2), 0.5f, 0.5f, 1, 1));
    EXPECT_TRUE(DrawMagnifies(TransformMatrix(0, 0.5f, 0.5f), 1, 1, 2, 2));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 1, 1), 1, 1, 2, 0.5f));
    // Nothing to draw: not a magnification.
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 0, 1), 1, 1, 1, 1));
    EXPECT_FALSE(DrawMagnifies(TransformMatrix(0, 1, 1), 1, 1, 0, 1));
}

float Area(const Box& b) { return (b.x1 - b.x0) * (b.y1 - b.y0); }

TEST(Lumo2DMath, PixelAlignedBoxOnlyForAnUnturnedQuadOnWholePixels) {
    PixelRect box;
    // A 48 x 48 piece, mid-handled, at 0.75: (160, 120) - 18 on each side.
    const Matrix2 piece = TransformMatrix(0, 0.75f, 0.75f);
    ASSERT_TRUE(PixelAlignedBox(piece, 1, 1, -24, -24, 24, 24, 160, 120, box));
    EXPECT_EQ(box, (PixelRect{142, 102, 36, 36}));
    // Two window pixels per unit: the box in window pixels.
    ASSERT_TRUE(PixelAlignedBox(piece, 2, 2, -24, -24, 24, 24, 160, 120, box));
    EXPECT_EQ(box, (PixelRect{284, 204, 72, 72}));
    // Within 1/1024 of a pixel counts as whole; a tenth does not.
    EXPECT_TRUE(PixelAlignedBox(piece, 1, 1, -24, -24, 24, 24, 160.0005f, 120, box));
    EXPECT_EQ(box.x, 142);
    EXPECT_FALSE(PixelAlignedBox(piece, 1, 1, -24, -24, 24, 24, 160.1f, 120, box));
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(0, 0.7f, 0.75f), 1, 1, -24, -24, 24, 24, 160, 120,
                                 box));  // 33.6 wide
    // Turned, mirrored, empty or not a number: no box.
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(90, 1, 1), 1, 1, 0, 0, 10, 10, 0, 0, box));
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(0, -1, 1), 1, 1, 0, 0, 10, 10, 20, 0, box));
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(0, 1, 1), 1, 1, 0, 0, 0, 10, 0, 0, box));
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(0, 1, 1), 1, 1, 0, 0, 10, 10, NAN, 0, box));
    EXPECT_FALSE(PixelAlignedBox(TransformMatrix(0, 1, 1), 1, 1, 0, 0, 10, 10, 1e12f, 0, box));
}

TEST(Lumo2DMath, BoxMinusBoxesCoversTheRestOnceWithSharedEdges) {
    const Box whole{0, 0, 1024, 768};
    // Two panels the height of the screen at fractional x, a small one
    // touching the bottom edge, and one in a corner.
    const std::vector<Box> holes{{62.5f, 0, 448.5f, 768}, {574.25f, 10, 960.25f, 700},
                                 {980, 740, 1000, 768}, {1010, 0, 1024, 5}};
    const std::vector<Box> rest = BoxMinusBoxes(whole, holes);
    float area = 0;
    for (const Box& h : holes) area += Area(h);
    for (const Box& r : rest) {
        EXPECT_GT(r.x1, r.x0);
        EXPECT_GT(r.y1, r.y0);
        EXPECT_TRUE(BoxInside(r, whole));
        for (const Box& h : holes) EXPECT_FALSE(BoxesOverlap(r, h));
        for (const Box& o : rest) {
            if (&o != &r) {
                EXPECT_FALSE(BoxesOverlap(r, o));
            }
        }
        area += Area(r);
    }
    EXPECT_FLOAT_EQ(area, Area(whole));
    // Every edge is one of the given ones, bit for bit: drawn edge to edge,
    // the renderer fills no pixel twice and leaves none out.
    std::vector<float> xs{whole.x0, whole.x1}, ys{whole.y0, whole.y1};
    for (const Box& h : holes) {
        xs.insert(xs.end(), {h.x0, h.x1});
        ys.insert(ys.end(), {h.y0, h.y1});
    }
    const auto known = [](const std::vector<float>& v, float e) {
        return std::find(v.begin(), v.end(), e) != v.end();
    };
    for (const Box& r : rest) {
        EXPECT_TRUE(known(xs, r.x0) && known(xs, r.x1)) << r.x0 << " " << r.x1;
        EXPECT_TRUE(known(ys, r.y0) && known(ys, r.y1)) << r.y0 << " " << r.y1;
    }

    // No holes: the whole; a hole the whole's size: nothing.
    EXPECT_EQ(BoxMinusBoxes(whole, {}), std::vector<Box>{whole});
    EXPECT_TRUE(BoxMinusBoxes(whole, {whole}).empty());
    // Edges that touch are apart; a box on the edge is inside.
    EXPECT_FALSE(BoxesOverlap({0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_TRUE(BoxesOverlap({0, 0, 10, 10}, {9.5f, 9.5f, 20, 20}));
    EXPECT_TRUE(BoxInside({0, 0, 1024, 10}, whole));
    EXPECT_FALSE(BoxInside({-0.5f, 0, 10, 10}, whole));
}

}  // namespace
}  // namespace kestrel

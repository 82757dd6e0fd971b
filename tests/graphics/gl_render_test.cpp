// The renderer's state and primitives on OpenGL, checked by reading pixels.
#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "tests/graphics/gl_fixture.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/gl_pixmap_copy.h"
#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel::test {
namespace {

using Render = GLTest;

// Every pixel of the box [x0, x1) x [y0, y1) is lit and the ring of pixels
// just outside it is black.
void ExpectFilledBox(const Screen& s, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) ASSERT_TRUE(s.Lit(x, y)) << x << "," << y;
    for (int x = x0; x < x1; ++x) {
        EXPECT_TRUE(s.IsBlack(x, y0 - 1)) << x;
        EXPECT_TRUE(s.IsBlack(x, y1)) << x;
    }
    for (int y = y0; y < y1; ++y) {
        EXPECT_TRUE(s.IsBlack(x0 - 1, y)) << y;
        EXPECT_TRUE(s.IsBlack(x1, y)) << y;
    }
}

void ExpectColor(const Rgba& c, int r, int g, int b, int tolerance = 1) {
    EXPECT_NEAR(c.r, r, tolerance);
    EXPECT_NEAR(c.g, g, tolerance);
    EXPECT_NEAR(c.b, b, tolerance);
}

TEST_F(Render, FreshGraphicsAreBlackAndTheDriverIsOpenGL) {
    EXPECT_TRUE(FreshGraphicsWereBlack());
    EXPECT_EQ(GetGraphicsDriver(), GLLumo2DDriver());
    EXPECT_EQ(GLLumo2DDriver()->ToString(), "OpenGL");
    EXPECT_EQ(GraphicsWidth(), kWidth);
    ASSERT_TRUE(TLumo2DGraphics::Current());
    EXPECT_EQ(TLumo2DGraphics::Current()->_setup, 1);
}

TEST_F(Render, ScaledAndRotatedRectFillsTheTurnedQuad) {
    SetScale(2, 2);
    SetRotation(90);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(GetRotation(), 90);
    DrawRect(100, 100, 10, 5);
    // (100,100), (100,120), (90,120), (90,100).
    ExpectFilledBox(Screen(), 90, 100, 100, 120);
}

TEST_F(Render, HandleIsNegatedAndLandsOnThePosition) {
    SetHandle(8, 4);
    float hx, hy;
    GetHandle(hx, hy);
    EXPECT_EQ(hx, 8);
    EXPECT_EQ(hy, 4);
    EXPECT_EQ(TLumo2DGraphics::Current()->handle_x, -8);
    DrawRect(100, 100, 16, 8);
    ExpectFilledBox(Screen(), 92, 96, 108, 104);

    // The origin is added to the position.
    Cls();
    SetHandle(0, 0);
    SetOrigin(30, 40);
    DrawRect(1, 2, 5, 5);
    ExpectFilledBox(Screen(), 31, 42, 36, 47);
}

TEST_F(Render, EachBlendModeOnAKnownBackground) {
    struct Case {
        int mode;
        float alpha;
        int r, g, b;  // expected over (100, 100, 100) with colour (200, 50, 0)
    };
    // Alpha 0.5 is sent as byte 127 (127 / 255 = 0.498).
    const Case cases[] = {
        {SOLIDBLEND, 0.5f, 200, 50, 0},
        {MASKBLEND, 1.0f, 200, 50, 0},
        {MASKBLEND, 0.5f, 100, 100, 100},  // 0.498 fails the alpha test (>= 0.5)
        {MASKBLEND, 0.51f, 200, 50, 0},
        {ALPHABLEND, 0.5f, 150, 75, 50},
        {LIGHTBLEND, 0.5f, 200, 125, 100},
        {SHADEBLEND, 0.5f, 78, 20, 0},
        {99, 0.5f, 200, 50, 0},  // unknown modes draw solid
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " alpha " << c.alpha);
        SetBlend(SOLIDBLEND);
        SetClsColor(100, 100, 100);
        Cls();
        SetColor(200, 50, 0);
        SetAlpha(c.alpha);
        SetBlend(c.mode);
        EXPECT_EQ(GetBlend(), c.mode);
        DrawRect(10, 10, 20, 20);
        const Screen s;
        ExpectColor(s.at(20, 20), c.r, c.g, c.b);
        ExpectColor(s.at(40, 40), 100, 100, 100, 0);
    }
    // Light blending saturates.
    SetBlend(SOLIDBLEND);
    SetClsColor(200, 200, 200);
    Cls();
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(LIGHTBLEND);
    DrawRect(10, 10, 20, 20);
    ExpectColor(Screen().at(20, 20), 255, 255, 255, 0);
}

TEST_F(Render, AlphaAndColourAreClampedByTheDriverOnly) {
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    SetBlend(ALPHABLEND);
    SetAlpha(1.5f);
    EXPECT_EQ(GetAlpha(), 1.5f);
    EXPECT_EQ(cache.color[3], 255);
    DrawRect(0, 0, 10, 10);
    SetAlpha(0.5f);
    EXPECT_EQ(cache.color[3], 127);
    DrawRect(20, 0, 10, 10);
    SetAlpha(-2);
    EXPECT_EQ(GetAlpha(), -2);
    DrawRect(40, 0, 10, 10);
    const Screen s;
    ExpectColor(s.at(5, 5), 255, 255, 255, 0);
    ExpectColor(s.at(25, 5), 127, 127, 127, 0);
    ExpectColor(s.at(45, 5), 0, 0, 0, 0);

    SetAlpha(1);
    SetBlend(SOLIDBLEND);
    SetColor(-20, 300, 128);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, -20);
    EXPECT_EQ(g, 300);
    DrawRect(60, 0, 10, 10);
    ExpectColor(Screen().at(65, 5), 0, 255, 128, 0);

    SetClsColor(-1, 999, 64);
    GetClsColor(r, g, b);
    EXPECT_EQ(g, 999);
    Cls();
    ExpectColor(Screen().at(300, 200), 0, 255, 64, 0);
}

TEST_F(Render, RepeatedBlendModeIsSentOnce) {
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    SetBlend(SOLIDBLEND);
    const long before = cache.counts().blend;
    SetBlend(ALPHABLEND);
    SetBlend(ALPHABLEND);
    EXPECT_EQ(cache.counts().blend, before + 1);
    SetBlend(LIGHTBLEND);
    EXPECT_EQ(cache.counts().blend, before + 2);

    // Untextured shapes switch texturing off once, not per shape.
    DrawRect(0, 0, 1, 1);
    const long enables = cache.counts().texture_enable;
    for (int i = 0; i < 10; ++i) DrawRect(0, 0, 1, 1);
    DrawOval(0, 0, 4, 4);
    EXPECT_EQ(cache.counts().texture_enable, enables);
}

TEST_F(Render, ViewportClipsDrawingAndCls) {
    SetViewport(10, 20, 30, 40);
    int x, y, w, h;
    GetViewport(x, y, w, h);
    EXPECT_EQ(x + y + w + h, 100);
    DrawRect(0, 0, kWidth, kHeight);
    ExpectFilledBox(Screen(), 10, 20, 40, 60);

    SetClsColor(0, 0, 255);
    Cls();
    SetClsColor(0, 0, 0);
    {
        const Screen s;
        ExpectColor(s.at(10, 20), 0, 0, 255, 0);
        ExpectColor(s.at(39, 59), 0, 0, 255, 0);
        EXPECT_TRUE(s.IsBlack(9, 30));
        EXPECT_TRUE(s.IsBlack(40, 30));
        EXPECT_TRUE(s.IsBlack(20, 60));
        EXPECT_TRUE(s.IsBlack(20, 19));
    }
    // The whole graphics switches clipping off.
    SetViewport(0, 0, kWidth, kHeight);
    DrawRect(0, 0, kWidth, kHeight);
    const Screen s;
    EXPECT_TRUE(s.Lit(0, 0));
    EXPECT_TRUE(s.Lit(kWidth - 1, kHeight - 1));
}

TEST_F(Render, VirtualResolutionScalesDrawingAndTheViewport) {
    SetVirtualResolution(kWidth * 2, kHeight * 2);
    EXPECT_EQ(VirtualResolutionWidth(), kWidth * 2);
    DrawRect(20, 20, 40, 20);  // 10,10 - 30,20 in pixels
    ExpectFilledBox(Screen(), 10, 10, 30, 20);
    Cls();
    SetViewport(100, 100, 40, 40);  // pixels 50,50 - 70,70
    DrawRect(0, 0, kWidth * 2, kHeight * 2);
    ExpectFilledBox(Screen(), 50, 50, 70, 70);
    SetViewport(0, 0, kWidth * 2, kHeight * 2);
    SetVirtualResolution(kWidth, kHeight);
}

// An oval is filled as triangles split for speed; it must light exactly the
// pixels of its outline drawn as one OpenGL polygon, from a dot to nearly
// the whole screen, on and off pixel centres.
TEST_F(Render, OvalsLightExactlyThePixelsOfTheirOutlinePolygon) {
    struct Box {
        float x, y, w, h;
    };
    const Box boxes[] = {{10, 10, 300, 220}, {0.5f, 0.25f, 319, 239}, {100, 100, 7, 7},
                         {20, 200, 250, 3.5f}, {160.3f, 7.7f, 40.2f, 150.9f}, {5, 5, 1, 1}};
    const Matrix2 identity = TransformMatrix(0, 1, 1);
    for (const Box& b : boxes) {
        Cls();
        DrawOval(b.x, b.y, b.w, b.h);
        const Screen drawn;
        Cls();
        const float rx = b.w * 0.5f, ry = b.h * 0.5f;
        const int segs = OvalSegments(rx, ry);
        glBegin(GL_POLYGON);
        for (int i = 0; i < segs; ++i) {
            const double th = double(i) * 360.0 / segs * std::numbers::pi / 180.0;
            const Point2 p = TransformPoint(identity, rx + float(std::cos(th)) * rx,
                                            ry - float(std::sin(th)) * ry, b.x, b.y);
            glVertex2f(p.x, p.y);
        }
        glEnd();
        const Screen outline;
        int lit = 0, differ = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                lit += drawn.Lit(x, y);
                differ += drawn.Lit(x, y) != outline.Lit(x, y);
            }
        EXPECT_EQ(differ, 0) << b.x << "," << b.y << " " << b.w << "x" << b.h;
        EXPECT_GT(lit, 0) << b.w << "x" << b.h;
    }
}

TEST_F(Render, OvalsLinesPointsAndPolygons) {
    DrawOval(50, 50, 100, 60);  // 80 segments
    DrawOval(200, 200, 10, 10);  // 12 segments
    {
        const Screen s;
        EXPECT_TRUE(s.Lit(100, 80));  // centre
        EXPECT_TRUE(s.Lit(52, 80));   // near the left end
        EXPECT_TRUE(s.Lit(147, 80));  // near the right end
        EXPECT_TRUE(s.Lit(100, 52));
        EXPECT_TRUE(s.Lit(100, 107));
        EXPECT_TRUE(s.IsBlack(52, 52));  // the box's corners stay clear
        EXPECT_TRUE(s.IsBlack(147, 107));
        EXPECT_TRUE(s.IsBlack(49, 80));
        EXPECT_TRUE(s.Lit(205, 205));
        EXPECT_TRUE(s.IsBlack(200, 200));
        EXPECT_TRUE(s.IsBlack(209, 209));
    }
    Cls();
    Plot(3, 4);  // the point covers pixel (3, 4) through its +0.5
    DrawLine(10, 30, 50, 30);  // horizontal line on row 30, last pixel plotted
    DrawPoly({200, 10, 240, 10, 220, 50});
    DrawPoly({0, 100, 50, 100, 25});  // odd count: ignored
    DrawPoly({0, 100, 50, 100});      // two points: ignored
    const Screen s;
    EXPECT_TRUE(s.Lit(3, 4));
    EXPECT_TRUE(s.IsBlack(4, 4));
    EXPECT_TRUE(s.IsBlack(3, 5));
    for (int x = 10; x <= 50; ++x) EXPECT_TRUE(s.Lit(x, 30)) << x;
    EXPECT_TRUE(s.IsBlack(30, 29));
    EXPECT_TRUE(s.IsBlack(30, 31));
    EXPECT_TRUE(s.IsBlack(51, 30));
    EXPECT_TRUE(s.Lit(220, 20));
    EXPECT_TRUE(s.IsBlack(202, 45));
    for (int x = 0; x <= 50; ++x) ASSERT_TRUE(s.IsBlack(x, 100)) << x;
}

TEST_F(Render, DrawPixmapAndGrabPixmapKeepRowZeroAtTheTop) {
    TPixmapPtr p = CreatePixmap(3, 2, PF_RGBA8888, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            p->WritePixel(x, y, 0xFF000000u | std::uint32_t(40 * x + 10) << 16 | std::uint32_t(100 * y + 20) << 8 | 7u);
    SetScale(3, 3);
    SetOrigin(50, 50);  // no transform and no origin for pixmaps
    DrawPixmap(p, 5, 7);
    TPixmapPtr back = GrabPixmap(5, 7, 3, 2);
    ASSERT_EQ(back->width, 3);
    ASSERT_EQ(back->height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(back->ReadPixel(x, y) & 0xFFFFFF, p->ReadPixel(x, y) & 0xFFFFFF);
    const Screen s;
    EXPECT_TRUE(s.IsBlack(4, 7));
    EXPECT_TRUE(s.IsBlack(8, 7));
    EXPECT_TRUE(s.IsBlack(5, 9));
    EXPECT_TRUE(s.IsBlack(5, 6));

    // Another format is converted; the blend mode is left as it was.
    SetBlend(ALPHABLEND);
    TPixmapPtr rgb = CreatePixmap(1, 1, PF_RGB888, 4);
    rgb->WritePixel(0, 0, 0xFF123456u);
    DrawPixmap(rgb, 100, 100);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    EXPECT_EQ(TGLLumo2DDriver::StateCache().blend(), ALPHABLEND);
    EXPECT_EQ(GrabPixmap(100, 100, 1, 1)->ReadPixel(0, 0) & 0xFFFFFF, 0x123456u);
}

// A picture of w x h whose every pixel tells where it is: red the column,
// green the row, blue the picture (`tag`), opaque.
TPixmapPtr Numbered(int w, int h, int format, int tag) {
    TPixmapPtr p = CreatePixmap(w, h, format, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, 0xFF000000u | std::uint32_t(x % 256) << 16 | std::uint32_t(y % 256) << 8 | std::uint32_t(tag));
    return p;
}

// Whether the screen's box at (x, y) holds p's pixels from (px, py) on,
// w x h of them, exactly; the first pixel that does not, otherwise.
::testing::AssertionResult HoldsPixels(const Screen& s, int x, int y, const TPixmap& p, int px, int py, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const Rgba c = s.at(x + i, y + j);
            const std::uint32_t want = p.ReadPixel(px + i, py + j);
            const std::uint32_t got = std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | std::uint32_t(c.b);
            if (got != (want & 0xFFFFFFu))
                return ::testing::AssertionFailure() << "pixel (" << x + i << "," << y + j << ") is " << std::hex << got
                                                     << ", not " << (want & 0xFFFFFFu);
        }
    return ::testing::AssertionSuccess();
}

TEST_F(Render, PixmapsAreBlittedExactlyInEitherByteOrderClippedAndLeaveTheDrawingAsItWas) {
    // Both byte orders land exactly, top row first, whatever the scale,
    // origin and blend; the pixels around stay black.
    const TPixmapPtr bgra = Numbered(40, 30, PF_BGRA8888, 9);
    const TPixmapPtr rgba = Numbered(40, 30, PF_RGBA8888, 3);
    SetScale(2, 2);
    SetOrigin(13, 17);
    SetBlend(LIGHTBLEND);
    SetColor(10, 20, 30);
    SetAlpha(0.25f);
    DrawPixmap(bgra, 10, 20);
    DrawPixmap(rgba, 100, 20);
    EXPECT_EQ(GetBlend(), LIGHTBLEND);
    SetScale(1, 1);
    SetOrigin(0, 0);
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    {
        const Screen s;
        EXPECT_TRUE(HoldsPixels(s, 10, 20, *bgra, 0, 0, 40, 30));
        EXPECT_TRUE(HoldsPixels(s, 100, 20, *rgba, 0, 0, 40, 30));
        for (int x = 9; x <= 50; ++x) {
            EXPECT_TRUE(s.IsBlack(x, 19)) << x;
            EXPECT_TRUE(s.IsBlack(x, 50)) << x;
        }
        EXPECT_TRUE(s.IsBlack(9, 35));
        EXPECT_TRUE(s.IsBlack(50, 35));
    }

    // Over the screen's edges only what lies on it is written; the
    // viewport clips as it clips shapes.
    Cls();
    DrawPixmap(bgra, -5, kHeight - 10);
    DrawPixmap(rgba, kWidth - 8, -4);
    SetViewport(200, 100, 20, 10);
    DrawPixmap(bgra, 190, 95);
    SetViewport(0, 0, kWidth, kHeight);
    {
        const Screen s;
        EXPECT_TRUE(HoldsPixels(s, 0, kHeight - 10, *bgra, 5, 0, 35, 10));
        EXPECT_TRUE(HoldsPixels(s, kWidth - 8, 0, *rgba, 0, 4, 8, 26));
        EXPECT_TRUE(HoldsPixels(s, 200, 100, *bgra, 10, 5, 20, 10));
        EXPECT_TRUE(s.IsBlack(199, 110));
        EXPECT_TRUE(s.IsBlack(220, 105));
        EXPECT_TRUE(s.IsBlack(205, 99));
        EXPECT_TRUE(s.IsBlack(205, 110));
    }

    // A big picture, then a smaller one: the smaller writes its own size,
    // not the rest of the texture the big one left.
    Cls();
    const TPixmapPtr big = Numbered(kWidth, kHeight, PF_BGRA8888, 200);
    DrawPixmap(big, 0, 0);
    EXPECT_TRUE(HoldsPixels(Screen(), 0, 0, *big, 0, 0, kWidth, kHeight));
    Cls();
    const TPixmapPtr small = Numbered(3, 2, PF_BGRA8888, 77);
    DrawPixmap(small, 50, 60);
    {
        const Screen s;
        EXPECT_TRUE(HoldsPixels(s, 50, 60, *small, 0, 0, 3, 2));
        EXPECT_TRUE(s.IsBlack(53, 60));
        EXPECT_TRUE(s.IsBlack(50, 62));
    }

    // An image drawn after it shows its own texture: the driver's cache
    // knows what the copy bound.
    TPixmapPtr red = CreatePixmap(4, 4, PF_RGBA8888, 4);
    red->ClearPixels(0xFFFF0000u);
    TImagePtr img = LoadImage(red, 0);
    SetImageHandle(img, 0, 0);
    DrawImage(img, 120, 120);
    DrawPixmap(small, 0, 0);
    DrawImage(img, 130, 120);
    {
        const Screen s;
        ExpectColor(s.at(121, 121), 255, 0, 0, 0);
        ExpectColor(s.at(131, 121), 255, 0, 0, 0);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // Into the program's own framebuffer object: the pixels go there, and it
    // stays bound for reading and drawing.
    {
        const ProgramFramebuffer fbo;
        ASSERT_TRUE(fbo.complete());
        Cls();
        DrawPixmap(bgra, 30, 40);
        GLint draw = 0, read = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        EXPECT_EQ(GLuint(draw), fbo.name());
        EXPECT_EQ(GLuint(read), fbo.name());
        EXPECT_TRUE(HoldsPixels(Screen(), 30, 40, *bgra, 0, 0, 40, 30));
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A format the blit does not take is refused, and DrawPixmap converts it.
    TPixmapPtr rgb = CreatePixmap(2, 2, PF_RGB888, 4);
    rgb->ClearPixels(0xFF102030u);
    EXPECT_FALSE(CopyPixmapToFramebuffer(*rgb, 0, 0, kHeight));
    Cls();
    DrawPixmap(rgb, 7, 8);
    ExpectColor(Screen().at(8, 9), 0x10, 0x20, 0x30, 0);
}

}  // namespace
}  // namespace kestrel::test

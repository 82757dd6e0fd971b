// The cheaper ways of drawing images, each checked against the plain way by
// reading pixels: mip chains left out of draws that do not shrink, images
// clipped to a convex polygon, grabs copied on the renderer, images drawn
// over another in the same pass, shrunk copies of mip chains, and pictures
// read back as they are drawn.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/graphics/gl_fixture.h"
#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel::test {
namespace {

using ImageDrawGL = GLTest;

TGLImageFramePtr GLFrame(const TImagePtr& image, int index = 0) {
    return std::dynamic_pointer_cast<TGLImageFrame>(image->Frame(index));
}

// One-pixel black and white squares with a coloured ramp over them: every
// texel differs from its neighbours, so any other sampling shows.
TPixmapPtr Busy(int w, int h) {
    TPixmapPtr p = CreatePixmap(w, h, PF_RGBA8888, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t level = ((x + y) & 1) ? 0xFFu : 0x00u;
            const std::uint32_t red = std::uint32_t(x * 255 / (w - 1));
            p->WritePixel(x, y, 0xFF000000u | red << 16 | level << 8 | (255 - level));
        }
    return p;
}

struct Difference {
    int pixels = 0;   // pixels with any channel different
    int largest = 0;  // the largest difference of one channel
};

Difference Compare(const TPixmapPtr& a, const TPixmapPtr& b) {
    Difference d;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const std::uint8_t* p = a->PixelPtr(x, y);
            const std::uint8_t* q = b->PixelPtr(x, y);
            int most = 0;
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(p[c]) - int(q[c])));
            d.pixels += most > 0;
            d.largest = std::max(d.largest, most);
        }
    return d;
}

TPixmapPtr Shot() { return GrabPixmap(0, 0, kWidth, kHeight); }

TEST_F(ImageDrawGL, MipChainIsLeftOutOfDrawsThatDoNotShrinkWithTheSamePicture) {
    TImagePtr img = LoadImage(Busy(64, 64), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    MidHandleImage(img);
    TGLImageFramePtr f = GLFrame(img);
    ASSERT_TRUE(f);
    ASSERT_EQ(f->min_filter_mip, GL_LINEAR_MIPMAP_LINEAR);
    ASSERT_EQ(f->min_filter_plain, GL_LINEAR);

    struct Case {
        float angle, sx, sy;
    };
    const Case magnifying[] = {{0, 1, 1}, {30, 1, 1}, {45, 1, 1}, {200, 1.5f, 1.2f}, {10, 2, 3}};
    for (const Case& c : magnifying) {
        Cls();
        SetTransform(c.angle, c.sx, c.sy);
        DrawImage(img, 160, 120);
        EXPECT_FALSE(f->mip_filter_on) << c.angle;
        const TPixmapPtr plain = Shot();
        // The same draw with the trilinear filter forced on.
        f->min_filter_plain = GL_LINEAR_MIPMAP_LINEAR;
        f->mip_filter_on = true;
        Cls();
        DrawImage(img, 160, 120);
        f->min_filter_plain = GL_LINEAR;
        f->mip_filter_on = true;  // so that the next draw sends the plain filter again
        const TPixmapPtr trilinear = Shot();
        const Difference d = Compare(plain, trilinear);
        EXPECT_EQ(d.pixels, 0) << "angle " << c.angle << " scale " << c.sx << "," << c.sy
                               << ": largest difference " << d.largest;
    }

    // A shrinking draw samples the chain: at half size the squares average
    // to mid grey-green instead of aliasing to black or white.
    Cls();
    SetTransform(0, 0.5f, 0.5f);
    DrawImage(img, 160, 120);
    EXPECT_TRUE(f->mip_filter_on);
    const Screen s;
    for (int x = 148; x < 172; x += 3) {
        EXPECT_NEAR(s.at(x, 120).g, 128, 4) << x;
        EXPECT_NEAR(s.at(x, 120).b, 128, 4) << x;
    }
    // Back to a magnifying draw: the plain filter again.
    SetTransform(0, 1, 1);
    DrawImage(img, 160, 120);
    EXPECT_FALSE(f->mip_filter_on);
}

TEST_F(ImageDrawGL, OpaqueWhiteTakesTheTextureAloneWithTheSamePicture) {
    // Half-transparent busy pixels, drawn turned, enlarged and shrunk.
    TPixmapPtr p = Busy(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            p->WritePixel(x, y, (p->ReadPixel(x, y) & 0xFFFFFFu) | std::uint32_t(x * 6) << 24);
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    for (const int flags : {FILTEREDIMAGE | MIPMAPPEDIMAGE, FILTEREDIMAGE, 0}) {
        TImagePtr img = LoadImage(p, flags);
        MidHandleImage(img);
        for (const int blend : {SOLIDBLEND, ALPHABLEND, LIGHTBLEND}) {
            for (const float scale : {1.7f, 1.0f, 0.6f}) {
                SetBlend(blend);
                SetTransform(25, scale, scale);
                const auto draw = [&] {
                    SetColor(120, 80, 200);  // a background to blend onto
                    Cls();
                    DrawRect(0, 0, kWidth, kHeight);
                    SetColor(255, 255, 255);
                    DrawImage(img, 160, 120);
                };
                draw();
                const bool alone = cache.texture_replaces() == 1;
                // Shrinking a mip chain, the texture is modulated.
                EXPECT_EQ(alone, !(flags & MIPMAPPEDIMAGE) || scale >= 1) << flags << " " << scale;
                const TPixmapPtr first = Shot();
                // The other combination, sent behind the renderer's back
                // (its cache still holds the first).
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, alone ? GL_MODULATE : GL_REPLACE);
                draw();
                glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, alone ? GL_REPLACE : GL_MODULATE);
                if (!alone) continue;  // (replacing there would not be the same)
                const Difference d = Compare(first, Shot());
                EXPECT_EQ(d.pixels, 0) << "flags " << flags << " blend " << blend << " scale "
                                       << scale << ": largest " << d.largest;
            }
        }
    }
    // Any other colour or alpha modulates again.
    SetTransform(0, 1, 1);
    SetBlend(SOLIDBLEND);
    TPixmapPtr white = CreatePixmap(8, 8, PF_RGBA8888, 4);
    white->ClearPixels(0xFFFFFFFFu);
    TImagePtr w = LoadImage(white, 0);
    Cls();
    SetColor(255, 255, 255);
    DrawImage(w, 10, 10);
    SetColor(255, 0, 0);
    DrawImage(w, 30, 10);
    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    SetBlend(ALPHABLEND);
    DrawImage(w, 50, 10);
    SetAlpha(1);
    const Screen s;
    EXPECT_EQ(s.at(12, 12).g, 255);
    EXPECT_EQ(s.at(32, 12).r, 255);
    EXPECT_EQ(s.at(32, 12).g, 0);
    EXPECT_NEAR(s.at(52, 12).g, 127, 1);
}

TEST_F(ImageDrawGL, PolygonDrawsThePartOfTheImageInsideIt) {
    TImagePtr img = LoadImage(Busy(60, 40), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    SetImageHandle(img, 20, 10);
    const std::vector<float> whole{0, 0, 60, 0, 60, 40, 0, 40};
    const std::vector<float> octagon{20, 0, 40, 0, 60, 13, 60, 27, 40, 40, 20, 40, 0, 27, 0, 13};
    struct Case {
        float angle, sx, sy;
    };
    for (const Case& c : {Case{0, 1, 1}, Case{33, 1, 1}, Case{-70, 2, 1.5f}, Case{15, 0.7f, 0.6f}}) {
        SetTransform(c.angle, c.sx, c.sy);
        SetBlend(LIGHTBLEND);
        Cls();
        DrawImage(img, 150, 110);
        const TPixmapPtr full = Shot();
        Cls();
        DrawImagePolygon(img, 150, 110, whole);
        const TPixmapPtr covered = Shot();
        // The polygon's triangles interpolate the texture coordinates with
        // plane equations of their own: a texel weight can round the other
        // way, one level on a handful of pixels, never more.
        const Difference d = Compare(full, covered);
        EXPECT_LE(d.largest, 1) << c.angle;
        EXPECT_LE(d.pixels, 20) << c.angle;

        // An octagon: inside it the image's own pixels, outside nothing.
        Cls();
        DrawImagePolygon(img, 150, 110, octagon);
        const TPixmapPtr cut = Shot();
        int inside = 0, outside = 0, wrong = 0, rounded = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                // Back into the image's pixels through the inverse transform.
                const Matrix2 m = TransformMatrix(c.angle, c.sx, c.sy);
                const float dx = x + 0.5f - 150, dy = y + 0.5f - 110;
                const float det = m.ix * m.jy - m.iy * m.jx;
                const float u = (dx * m.jy - dy * m.iy) / det + 20;
                const float v = (dy * m.ix - dx * m.jx) / det + 10;
                // Clear of the octagon's edges either way; its cut corners
                // lie at |u - 30| / 30 + |v - 20| / 20 = 1.33 or so.
                const float diamond = std::abs(u - 30) / 30 + std::abs(v - 20) / 20;
                const bool in = u > 2 && u < 58 && v > 2 && v < 38 && diamond < 1.2f;
                const bool out = u < -1 || u > 61 || v < -1 || v > 41 || diamond > 1.5f;
                const std::uint8_t* got = cut->PixelPtr(x, y);
                const std::uint8_t* ref = full->PixelPtr(x, y);
                int most = 0, any = 0;
                for (int k = 0; k < 3; ++k) {
                    most = std::max(most, std::abs(int(got[k]) - int(ref[k])));
                    any = std::max(any, int(got[k]));
                }
                if (in) {
                    ++inside;
                    wrong += most > 1;
                    rounded += most == 1;
                } else if (out) {
                    ++outside;
                    wrong += any != 0;
                }
            }
        EXPECT_GT(inside, 100) << c.angle;
        EXPECT_GT(outside, 1000) << c.angle;
        EXPECT_EQ(wrong, 0) << c.angle;
        EXPECT_LE(rounded, 20) << c.angle;
    }
    // Fewer than three points, or an odd count, draw nothing.
    SetTransform(0, 1, 1);
    Cls();
    DrawImagePolygon(img, 150, 110, {0, 0, 60, 0});
    DrawImagePolygon(img, 150, 110, {0, 0, 60, 0, 60, 40, 0});
    TPixmapPtr black = CreatePixmap(kWidth, kHeight, PF_RGBA8888, 4);
    black->ClearPixels(0);
    EXPECT_EQ(Compare(Shot(), black).pixels, 0);
}

TEST_F(ImageDrawGL, TextureGrabCopiesTheBackBufferWithoutTouchingThePixmap) {
    // A picture with distinct rows and columns, drawn at (30, 20).
    TImagePtr source = LoadImage(Busy(50, 30), 0);
    DrawImage(source, 30, 20);
    const TPixmapPtr want = GrabPixmap(30, 20, 50, 30);

    TImagePtr img = CreateImage(50, 30, 1, FILTEREDIMAGE);
    SetImageHandle(img, 0, 0);
    const TPixmapPtr before = LockImage(img);
    const std::uint32_t old = before->ReadPixel(10, 10);
    SetOrigin(5, 5);  // grabbing ignores origin and transform
    SetScale(2, 2);
    GrabImageTexture(img, 30, 20);
    SetOrigin(0, 0);
    SetScale(1, 1);
    EXPECT_EQ(img->pixmaps[0]->ReadPixel(10, 10), old);  // the pixmap is as it was
    EXPECT_TRUE(GLFrame(img)->bottom_up);

    Cls();
    DrawImage(img, 200, 150);
    EXPECT_EQ(Compare(GrabPixmap(200, 150, 50, 30), want).pixels, 0);
    // A sub-rectangle comes from the right rows: the bottom half.
    Cls();
    DrawSubImageRect(img, 10, 10, 50, 15, 0, 15, 50, 15);
    EXPECT_EQ(Compare(GrabPixmap(10, 10, 50, 15), want->Window(0, 15, 50, 15)->Copy()).pixels, 0);

    // Enlarged with linear filtering, the edges stay the picture's own: a
    // solid red grab keeps its last rows and columns pure.
    Cls();
    SetColor(255, 0, 0);
    DrawRect(100, 100, 50, 30);
    SetColor(255, 255, 255);
    GrabImageTexture(img, 100, 100);
    Cls();
    SetScale(4, 4);
    DrawImage(img, 0, 0);
    SetScale(1, 1);
    const Screen s;
    EXPECT_EQ(s.OffColourAlong(199, 119, 120, {255, 0, 0, 0}), 0);
    for (int i = 0; i < 120; i += 7) EXPECT_GE(s.at(i, 0).r, 254) << i;
    EXPECT_TRUE(s.IsBlack(201, 50));

    // A mip chain follows the copy: shrunk, the grab shows, not the
    // pixmap's old pixels.
    TImagePtr chained = CreateImage(50, 30, 1, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    LockImage(chained)->ClearPixels(0xFF0000FFu);  // blue in memory
    Cls();
    SetColor(0, 255, 0);
    DrawRect(100, 100, 50, 30);
    SetColor(255, 255, 255);
    GrabImageTexture(chained, 100, 100);
    Cls();
    SetImageHandle(chained, 0, 0);
    SetScale(0.5f, 0.5f);
    DrawImage(chained, 0, 0);
    SetScale(1, 1);
    EXPECT_TRUE(GLFrame(chained)->mip_filter_on);
    EXPECT_GE(Screen().at(12, 7).g, 250);
    EXPECT_EQ(Screen().at(12, 7).b, 0);

    // Writing the pixmap brings its pixels back.
    LockImage(img, 0, 1, 1)->ClearPixels(0xFF0000FFu);
    Cls();
    DrawImage(img, 0, 0);
    EXPECT_EQ(Screen().at(25, 15).b, 255);
    EXPECT_EQ(Screen().at(25, 15).r, 0);

    // A masked image is grabbed through memory, with its mask applied: the
    // black left of the picture becomes transparent, the picture does not.
    TImagePtr masked = CreateImage(50, 30, 1, MASKEDIMAGE);
    Cls();
    DrawImage(source, 30, 20);
    GrabImageTexture(masked, 20, 20);
    const TPixmapPtr m = masked->pixmaps[0];
    ASSERT_TRUE(m);
    EXPECT_EQ(m->ReadPixel(10, 5) & 0xFFFFFF, want->ReadPixel(0, 5) & 0xFFFFFF);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(m->ReadPixel(x, 5) >> 24, x < 10 ? 0u : 255u) << x;
}

// The fragments OpenGL draws from construction to End.
class FragmentCount {
public:
    FragmentCount() {
        glGenQueries(1, &query_);
        glBeginQuery(GL_SAMPLES_PASSED, query_);
    }
    FragmentCount(const FragmentCount&) = delete;
    FragmentCount& operator=(const FragmentCount&) = delete;
    ~FragmentCount() { glDeleteQueries(1, &query_); }
    GLuint End() {
        glEndQuery(GL_SAMPLES_PASSED);
        GLuint n = 0;
        glGetQueryObjectuiv(query_, GL_QUERY_RESULT, &n);
        return n;
    }

private:
    GLuint query_ = 0;
};

// A panel of colour ramps whose alpha changes from pixel to pixel.
TPixmapPtr Panel(int w, int h, int seed) {
    TPixmapPtr p = CreatePixmap(w, h, PF_RGBA8888, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t a = std::uint32_t(60 + (x * 7 + y * 3 + seed) % 196);
            const std::uint32_t r = std::uint32_t((x * 255) / (w - 1));
            const std::uint32_t g = std::uint32_t((y * 255) / (h - 1));
            const std::uint32_t b = std::uint32_t((x + y + seed) & 0xFF);
            p->WritePixel(x, y, a << 24 | r << 16 | g << 8 | b);
        }
    return p;
}

TEST_F(ImageDrawGL, ImagesOverASubImageRectFillEachPixelOnceWithTheSamePicture) {
    // A backdrop enlarged with linear filtering, under two unfiltered panels
    // at fractional places, one mid-handled, each with its own tint.
    TImagePtr under = LoadImage(Busy(82, 62), FILTEREDIMAGE);
    TImagePtr left = LoadImage(Panel(100, 150, 0), 0);
    TImagePtr right = LoadImage(Panel(100, 150, 77), 0);
    MidHandleImage(right);
    const std::vector<ImageOver> over{{left, 20.5f, 30.25f, 0, 200, 200, 200, 0.75f},
                                      {right, 240.75f, 120, 0, 255, 128, 64, 0.5f}};
    const GLuint screen = GLuint(kWidth * kHeight), panels = 2 * 100 * 150;
    const auto one_by_one = [&](const std::vector<ImageOver>& images) {
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1.0f);
        DrawSubImageRect(under, 0, 0, kWidth, kHeight, 1, 1, 80, 60);
        for (const ImageOver& o : images) {
            SetBlend(ALPHABLEND);
            SetColor(o.red, o.green, o.blue);
            SetAlpha(o.alpha);
            DrawImage(o.image, o.x, o.y, o.frame);
        }
    };

    FragmentCount apart;
    one_by_one(over);
    EXPECT_EQ(apart.End(), screen + panels);
    const TPixmapPtr want = Shot();

    Cls();
    SetBlend(LIGHTBLEND);
    SetColor(10, 20, 30);
    SetAlpha(0.3f);
    FragmentCount together;
    DrawSubImageRectUnder(under, 0, 0, kWidth, kHeight, 1, 1, 80, 60, over);
    // Each pixel once: no pixel of the panels' edges filled twice or missed.
    EXPECT_EQ(together.End(), screen);
    const Difference d = Compare(Shot(), want);
    EXPECT_LE(d.largest, 1) << d.pixels << " pixels differ";
    // The drawing state is left as it was.
    EXPECT_EQ(GetBlend(), LIGHTBLEND);
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    EXPECT_EQ(r * 10000 + g * 100 + b, 10 * 10000 + 20 * 100 + 30);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.3f);

    // Panels over each other, or one reaching out of the rectangle: drawn
    // one after another, the very same picture.
    const std::vector<std::vector<ImageOver>> others{
        {over[0], {right, 90, 100, 0, 255, 128, 64, 0.5f}},
        {over[0], {right, 300, 120, 0, 255, 128, 64, 0.5f}}};
    for (const std::vector<ImageOver>& images : others) {
        Cls();
        one_by_one(images);
        const TPixmapPtr plain = Shot();
        Cls();
        FragmentCount count;
        DrawSubImageRectUnder(under, 0, 0, kWidth, kHeight, 1, 1, 80, 60, images);
        EXPECT_GT(count.End(), screen);
        EXPECT_EQ(Compare(Shot(), plain).pixels, 0) << images[1].x;
    }
    // Scaled: the same.
    Cls();
    SetScale(1.5f, 1.0f);
    one_by_one(over);
    const TPixmapPtr scaled = Shot();
    Cls();
    DrawSubImageRectUnder(under, 0, 0, kWidth, kHeight, 1, 1, 80, 60, over);
    EXPECT_EQ(Compare(Shot(), scaled).pixels, 0);
    SetScale(1, 1);
}

// Draws `img` over a coloured background as a game draws a piece: its
// half-black shadow, then itself, tinted, then a half-transparent rectangle
// and an unscaled image over it, which must find the state as they left it.
void DrawPieces(const TImagePtr& img, const TImagePtr& plain, float x, float y, float scale) {
    SetBlend(SOLIDBLEND);
    SetTransform(0, 1, 1);
    SetColor(60, 90, 140);
    DrawRect(0, 0, kWidth, kHeight);
    SetBlend(ALPHABLEND);
    SetScale(scale, scale);
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawImage(img, x + 8, y + 8);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(img, x, y);
    SetColor(200, 255, 120);
    DrawImage(img, x + 60, y);
    SetScale(1, 1);
    SetColor(255, 0, 0);
    SetAlpha(0.25f);
    DrawRect(x - 30, y - 30, 40, 40);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(plain, 40, 200);
}

TEST_F(ImageDrawGL, ShrunkDrawsOnWholePixelsReadACopyFromTheirSecondFrameWithTheSamePicture) {
    // A busy 48 x 48 piece with an alpha ramp, drawn at 0.75 (36 x 36) on
    // whole pixels: mid-handled, its corner lands at 160 - 18.
    TPixmapPtr p = Busy(48, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            p->WritePixel(x, y, (p->ReadPixel(x, y) & 0xFFFFFFu) | std::uint32_t(60 + x * 4) << 24);
    TImagePtr img = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    TImagePtr plain = LoadImage(Busy(20, 20), 0);
    MidHandleImage(img);
    TGLImageFramePtr f = GLFrame(img);
    ASSERT_TRUE(f);
    const auto copies = [&] { return f->shrunk ? f->shrunk->copies() : 0u; };

    DrawPieces(img, plain, 160, 120, 0.75f);
    const TPixmapPtr filtered = Shot();
    EXPECT_EQ(copies(), 0u);  // the first frame filters
    Flip(0);
    DrawPieces(img, plain, 160, 120, 0.75f);
    EXPECT_EQ(copies(), 1u);  // one copy for the shadow and both pieces
    Difference d = Compare(Shot(), filtered);
    EXPECT_LE(d.largest, 1) << d.pixels << " pixels differ";
    // Drawn from the copy, with no mip level: the same again.
    Flip(0);
    DrawPieces(img, plain, 160, 120, 0.75f);
    EXPECT_EQ(copies(), 1u);
    EXPECT_LE(Compare(Shot(), filtered).largest, 1);
    // Elsewhere on whole pixels, the same copy.
    Cls();
    DrawPieces(img, plain, 100, 60, 0.75f);
    const TPixmapPtr moved = Shot();
    EXPECT_EQ(copies(), 1u);

    // Between whole pixels, turned, or at a size never drawn before, the
    // texture is filtered as ever: the picture of a fresh image of the same
    // pixels, which has no copy.
    TImagePtr fresh = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    MidHandleImage(fresh);
    const auto same_as_fresh = [&](float x, float y, float scale, float angle) {
        Cls();
        SetTransform(angle, scale, scale);
        DrawImage(img, x, y);
        const TPixmapPtr drawn = Shot();
        Cls();
        DrawImage(fresh, x, y);
        SetTransform(0, 1, 1);
        return Compare(drawn, Shot()).pixels;
    };
    Flip(0);
    EXPECT_EQ(same_as_fresh(160.4f, 120, 0.75f, 0), 0);
    EXPECT_EQ(same_as_fresh(160, 120, 0.75f, 10), 0);
    EXPECT_EQ(same_as_fresh(160, 120, 0.5f, 0), 0);
    EXPECT_EQ(copies(), 1u);
    // A size drawn in an earlier frame gets its copy; the same picture.
    Flip(0);
    Cls();
    DrawPieces(fresh, plain, 100, 60, 0.75f);
    Cls();
    EXPECT_EQ(same_as_fresh(160, 120, 0.5f, 0), 0);
    EXPECT_EQ(copies(), 2u);
    Flip(0);
    DrawPieces(fresh, plain, 100, 60, 0.75f);
    EXPECT_LE(Compare(Shot(), moved).largest, 1);

    // A picture growing from frame to frame makes none.
    const std::size_t before = copies();
    for (int i = 0; i < 6; ++i) {
        Flip(0);
        Cls();
        SetScale(0.3f + 0.05f * float(i), 0.3f + 0.05f * float(i));
        DrawImage(img, 160, 120);
        DrawImage(img, 100, 120);
    }
    SetScale(1, 1);
    EXPECT_EQ(copies(), before);

    // Six steady sizes a frame, for four places: the first four drawn keep
    // theirs and get copies, the others are drawn filtered.
    TImagePtr many = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    MidHandleImage(many);
    for (int f = 0; f < 3; ++f) {
        Flip(0);
        Cls();
        for (int k = 0; k < 6; ++k) {
            SetScale(0.25f + 0.125f * float(k), 0.25f + 0.125f * float(k));
            DrawImage(many, 40 + 48 * k, 60);
        }
    }
    SetScale(1, 1);
    EXPECT_EQ(GLFrame(many)->shrunk->copies(), std::size_t(GLShrunkCopies::kMaxCopies));

    // A copy made while a smaller viewport clips the draw holds the whole
    // picture, and the viewport clips again afterwards.
    TImagePtr clipped = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    MidHandleImage(clipped);
    SetScale(0.75f, 0.75f);
    DrawImage(clipped, 160, 120);
    Flip(0);
    Cls();
    SetViewport(0, 0, 150, kHeight);
    DrawImage(clipped, 160, 120);
    EXPECT_EQ(GLFrame(clipped)->shrunk->copies(), 1u);
    EXPECT_TRUE(Screen().IsBlack(151, 120));
    SetViewport(0, 0, kWidth, kHeight);
    Cls();
    DrawImage(clipped, 160, 120);
    const TPixmapPtr whole = Shot();
    Cls();
    DrawImage(fresh, 160.001f, 120);  // (between whole pixels: filtered)
    EXPECT_LE(Compare(whole, Shot()).largest, 1);

    // Made while drawing into a framebuffer of the program's own, which
    // stays bound and receives the draw.
    TImagePtr inside = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    MidHandleImage(inside);
    SetScale(0.75f, 0.75f);
    DrawImage(inside, 160, 120);
    Flip(0);
    {
        const ProgramFramebuffer fbo;
        ASSERT_TRUE(fbo.complete());
        Cls();
        DrawImage(inside, 160, 120);
        SetScale(1, 1);
        EXPECT_EQ(GLFrame(inside)->shrunk->copies(), 1u);
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(GLuint(bound), fbo.name());
        EXPECT_LE(Compare(Shot(), whole).largest, 1);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // New pixels grabbed into the texture: its copies go.
    GrabImageTexture(img, 0, 0);
    EXPECT_EQ(copies(), 0u);
}


TEST_F(ImageDrawGL, APictureReadBackAsDrawnDrawsTheSameUnscaled) {
    // A busy piece with an alpha ramp, shrunk through its mip chain to 36 x
    // 36 and grown to 60 x 60: the pixmaps read back, drawn texel for texel
    // over a background with a tint and alpha, show what the piece itself
    // draws at that size there.
    TPixmapPtr p = Busy(48, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            p->WritePixel(x, y, (p->ReadPixel(x, y) & 0xFFFFFFu) | std::uint32_t(60 + x * 4) << 24);
    TImagePtr img = LoadImage(p, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    SetImageHandle(img, 0, 0);
    const auto compare = [&](int size, int red, int green, int blue, float alpha) {
        const TPixmapPtr drawn = DrawnImagePixmap(img, size, size);
        if (!drawn) return Difference{-1, -1};
        EXPECT_EQ(drawn->width, size);
        EXPECT_EQ(drawn->height, size);
        TImagePtr read = LoadImage(drawn, 0);
        SetImageHandle(read, 0, 0);
        const auto scene = [&](const TImagePtr& image, float scale) {
            Cls();
            SetBlend(SOLIDBLEND);
            SetColor(60, 90, 140);
            DrawRect(0, 0, kWidth, kHeight);
            SetBlend(ALPHABLEND);
            SetColor(red, green, blue);
            SetAlpha(alpha);
            SetScale(scale, scale);
            DrawImage(image, 40, 30);
            SetScale(1, 1);
            SetColor(255, 255, 255);
            SetAlpha(1);
            return Shot();
        };
        const TPixmapPtr want = scene(img, float(size) / 48.0f);
        return Compare(scene(read, 1), want);
    };
    for (const int size : {36, 60}) {
        const Difference plain = compare(size, 255, 255, 255, 1);
        EXPECT_GE(plain.largest, 0) << size << ": nothing read back";
        EXPECT_LE(plain.largest, 1) << size << ": " << plain.pixels << " pixels differ";
        const Difference shadow = compare(size, 0, 0, 0, 0.5f);
        EXPECT_LE(shadow.largest, 1) << size << ": " << shadow.pixels << " pixels differ";
        const Difference tinted = compare(size, 200, 255, 120, 0.75f);
        EXPECT_LE(tinted.largest, 1) << size << ": " << tinted.pixels << " pixels differ";
    }
    // Its rows come top first, and the drawing after it goes to the window
    // as before.
    const TPixmapPtr top = DrawnImagePixmap(img, 48, 48);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->ReadPixel(5, 0), p->ReadPixel(5, 0));
    EXPECT_EQ(top->ReadPixel(40, 47), p->ReadPixel(40, 47));
    Cls();
    SetColor(255, 0, 0);
    DrawRect(10, 10, 4, 4);
    SetColor(255, 255, 255);
    EXPECT_EQ(Screen().at(11, 11).r, 255);
    // A frame that reads its rows upside down (grabbed on the renderer)
    // comes back top row first too.
    TImagePtr grabbed = CreateImage(48, 48, 1, 0);
    SetImageHandle(grabbed, 0, 0);
    Cls();
    DrawImage(LoadImage(Busy(48, 48), 0), 0, 0);
    const TPixmapPtr window = GrabPixmap(0, 0, 48, 48);
    GrabImageTexture(grabbed, 0, 0);
    ASSERT_TRUE(GLFrame(grabbed)->bottom_up);
    const TPixmapPtr grabbed_read = DrawnImagePixmap(grabbed, 48, 48);
    ASSERT_TRUE(grabbed_read);
    EXPECT_EQ(Compare(grabbed_read, window).pixels, 0);
    // Rows packed however the program left the pixel store for its own
    // reads, and the store left so.
    glPixelStorei(GL_PACK_ROW_LENGTH, 1024);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    const TPixmapPtr packed = DrawnImagePixmap(img, 48, 48);
    ASSERT_TRUE(packed);
    EXPECT_EQ(Compare(packed, top).pixels, 0);
    GLint row_length = 0, alignment = 0;
    glGetIntegerv(GL_PACK_ROW_LENGTH, &row_length);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(row_length, 1024);
    EXPECT_EQ(alignment, 8);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // No size, no picture.
    EXPECT_FALSE(DrawnImagePixmap(img, 0, 36));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace kestrel::test

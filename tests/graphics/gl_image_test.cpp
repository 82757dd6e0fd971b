// Images as OpenGL textures: layout, filtering, handles, lazy rebuilds,
// deferred deletion and grabbing, checked by reading pixels.
#include "tests/graphics/gl_fixture.h"
#include "toolkit/core/error.h"
#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/texture_deletion_queue.h"

namespace kestrel::test {
namespace {

using ImageGL = GLTest;

TPixmapPtr Solid(int w, int h, std::uint32_t argb) {
    TPixmapPtr p = CreatePixmap(w, h, PF_RGBA8888, 4);
    p->ClearPixels(argb);
    return p;
}

TGLImageFramePtr GLFrame(const TImagePtr& image, int index = 0) {
    return std::dynamic_pointer_cast<TGLImageFrame>(image->Frame(index));
}

TEST_F(ImageGL, PictureSitsTopLeftInAPowerOfTwoTextureWithRepeatedEdges) {
    TImagePtr img = LoadImage(Solid(48, 48, 0xFFFF0000u), FILTEREDIMAGE);
    ASSERT_TRUE(img);
    TGLImageFramePtr f = GLFrame(img);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->tex_size(), (TexSize{64, 64}));
    EXPECT_FLOAT_EQ(f->u1, 0.75f);
    EXPECT_FLOAT_EQ(f->v1, 0.75f);
    EXPECT_FLOAT_EQ(f->u0, 0);
    EXPECT_EQ(f->seq, GraphicsSeq());

    // Scaled 4x with linear filtering, the picture's last screen columns
    // and rows sample between its last texel and the spare area: only the
    // repeated edge keeps them pure red.
    SetScale(4, 4);
    DrawImage(img, 0, 0);
    const Screen s;
    for (int i = 0; i < 192; i += 7) {
        const Rgba right = s.at(191, i), bottom = s.at(i, 191);
        EXPECT_GE(right.r, 254) << i;
        EXPECT_EQ(right.g + right.b, 0) << i;
        EXPECT_GE(bottom.r, 254) << i;
    }
    EXPECT_GE(s.at(191, 191).r, 254);
    EXPECT_TRUE(s.IsBlack(192, 100));
    EXPECT_TRUE(s.IsBlack(100, 192));

    TImagePtr big = LoadImage(Solid(1024, 768, 0xFF00FF00u), 0);
    TGLImageFramePtr bf = GLFrame(big);
    ASSERT_TRUE(bf);
    EXPECT_EQ(bf->tex_size(), (TexSize{1024, 1024}));
    EXPECT_FLOAT_EQ(bf->u1, 1.0f);
    EXPECT_FLOAT_EQ(bf->v1, 0.75f);
}

TEST_F(ImageGL, FilteringFollowsTheImageFlags) {
    TPixmapPtr two = CreatePixmap(2, 1, PF_RGBA8888, 4);
    two->WritePixel(0, 0, 0xFFFF0000u);
    two->WritePixel(1, 0, 0xFF0000FFu);
    TImagePtr nearest = LoadImage(two, 0);
    TImagePtr linear = LoadImage(two, FILTEREDIMAGE);
    TImagePtr mipmapped = LoadImage(two, FILTEREDIMAGE | MIPMAPPEDIMAGE);
    SetScale(32, 32);
    DrawImage(nearest, 0, 0);
    DrawImage(linear, 0, 40);
    DrawImage(mipmapped, 0, 80);
    const Screen s;
    // Nearest: a hard edge in the middle.
    EXPECT_EQ(s.at(31, 10).r, 255);
    EXPECT_EQ(s.at(32, 10).b, 255);
    // Linear: the middle blends the two.
    const Rgba mid = s.at(32, 50);
    EXPECT_GT(mid.r, 60);
    EXPECT_GT(mid.b, 60);
    const Rgba mipmid = s.at(32, 90);
    EXPECT_GT(mipmid.r, 60);
    EXPECT_GT(mipmid.b, 60);
}

TEST_F(ImageGL, MidHandledImageCentresOnItsPosition) {
    AutoMidHandle(1);
    TImagePtr doc = LoadImage(Solid(140, 81, 0xFFFFFFFFu), 0);
    AutoMidHandle(0);
    EXPECT_FLOAT_EQ(doc->handle_x, 70);
    EXPECT_FLOAT_EQ(doc->handle_y, 40.5f);
    SetHandle(30, 30);  // the record's handle does not move images
    DrawImage(doc, 160, 120);
    const Screen s;
    EXPECT_TRUE(s.Lit(90, 100));
    EXPECT_TRUE(s.IsBlack(89, 100));
    EXPECT_TRUE(s.Lit(229, 100));
    EXPECT_TRUE(s.IsBlack(230, 100));
    EXPECT_TRUE(s.Lit(160, 80));
    EXPECT_TRUE(s.IsBlack(160, 78));
    EXPECT_TRUE(s.Lit(160, 159));
    EXPECT_TRUE(s.IsBlack(160, 162));

    // Rotation turns the picture about its handle: 90 degrees swaps extents.
    Cls();
    SetRotation(90);
    DrawImage(doc, 160, 120);
    const Screen r;
    EXPECT_TRUE(r.Lit(160, 55));
    EXPECT_TRUE(r.IsBlack(160, 45));
    EXPECT_TRUE(r.Lit(125, 120));
    EXPECT_TRUE(r.IsBlack(115, 120));
}

TEST_F(ImageGL, ColourAlphaAndAnimationFramesApplyToTextures) {
    TPixmapPtr strip = CreatePixmap(8, 16, PF_RGBA8888, 4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) strip->WritePixel(x, y, y < 8 ? 0xFFFFFFFFu : 0xFF808080u);
    TImagePtr anim = LoadAnimImage(strip, 8, 8, 0, 2, 0);
    ASSERT_TRUE(anim);
    SetColor(255, 0, 0);
    DrawImage(anim, 10, 10, 0);
    DrawImage(anim, 30, 10, 1);
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    SetAlpha(0.5f);
    DrawImage(anim, 50, 10, 0);
    const Screen s;
    const Rgba red = s.at(12, 12), dim = s.at(32, 12), half = s.at(52, 12);
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.g, 0);
    EXPECT_NEAR(dim.r, 128, 1);
    EXPECT_EQ(dim.g, 0);
    EXPECT_NEAR(half.g, 127, 1);
    EXPECT_THROW(DrawImage(anim, 0, 0, 2), TArrayBoundsException);
}

TEST_F(ImageGL, TexturesAreRemadeAfterANewGraphicsAndAfterWrites) {
    TImagePtr img = LoadImage(Solid(16, 16, 0xFF00FFFFu), 0);
    DrawImage(img, 0, 0);
    const TImageFramePtr first = img->frames[0];
    const int firstSeq = img->seqs[0];
    ASSERT_TRUE(first);
    EXPECT_EQ(firstSeq, GraphicsSeq());
    DrawImage(img, 20, 0);
    EXPECT_EQ(img->frames[0], first);  // reused within a generation

    ASSERT_TRUE(OpenTestGraphics());  // a second Graphics: a new context
    EXPECT_NE(GraphicsSeq(), firstSeq);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 40, 40);
    EXPECT_NE(img->frames[0], first);
    EXPECT_EQ(img->seqs[0], GraphicsSeq());
    {
        const Screen s;
        const Rgba c = s.at(45, 45);
        EXPECT_EQ(c.r, 0);
        EXPECT_EQ(c.g, 255);
        EXPECT_EQ(c.b, 255);
    }

    // Writing through Lock uploads on the next draw, into the same frame.
    const TImageFramePtr second = img->frames[0];
    LockImage(img)->ClearPixels(0xFFFF00FFu);
    UnlockImage(img);
    DrawImage(img, 40, 40);
    EXPECT_EQ(img->frames[0], second);
    const Rgba c = Screen().at(45, 45);
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 0);

    // Written, then drawn under new graphics: a new frame all the same.
    LockImage(img)->ClearPixels(0xFF0000FFu);
    ASSERT_TRUE(OpenTestGraphics());
    SetBlend(SOLIDBLEND);
    DrawImage(img, 40, 40);
    EXPECT_NE(img->frames[0], second);
    EXPECT_EQ(Screen().at(45, 45).b, 255);
}

TEST_F(ImageGL, PixelsWrittenGoIntoTheSameTextureWithTheirEdgesRepeated) {
    // A picture rewritten every frame, as a backdrop composed in memory is.
    TImagePtr img = LoadImage(Solid(48, 40, 0xFFFF0000u), FILTEREDIMAGE);
    SetBlend(SOLIDBLEND);
    DrawImage(img, 0, 0);
    const TGLImageFramePtr f = GLFrame(img);
    ASSERT_TRUE(f);
    const unsigned name = f->name;
    const TPixmapPtr p = LockImage(img);
    p->ClearPixels(0xFF00FF00u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) p->WritePixel(x, y, 0xFF0000FFu);  // a blue top-left corner
    UnlockImage(img);
    // Enlarged with linear filtering: the last columns and rows sample the
    // repeated edges, which must be the new ones, and the corner is blue.
    SetScale(4, 4);
    DrawImage(img, 0, 0);
    SetScale(1, 1);
    EXPECT_EQ(GLFrame(img), f);
    EXPECT_EQ(f->name, name);
    {
        const Screen s;
        EXPECT_EQ(s.OffColourAlong(191, 159, 160, {0, 255, 0, 0}), 0);
        EXPECT_GE(s.at(10, 10).b, 254);
        EXPECT_EQ(s.at(10, 10).g, 0);
        EXPECT_EQ(s.at(10, 40).b, 0);
        EXPECT_TRUE(s.IsBlack(192, 100));
    }

    // A grabbed frame reads its rows upside down; written, the pixmap's
    // rows come top down again.
    Cls();
    SetColor(255, 255, 0);
    DrawRect(0, 0, 48, 40);
    SetColor(255, 255, 255);
    TImagePtr grabbed = CreateImage(48, 40, 1, 0);
    SetImageHandle(grabbed, 0, 0);
    GrabImageTexture(grabbed, 0, 0);
    ASSERT_TRUE(GLFrame(grabbed)->bottom_up);
    const TPixmapPtr g = LockImage(grabbed);
    g->ClearPixels(0xFF000000u);
    for (int x = 0; x < 48; ++x) g->WritePixel(x, 0, 0xFFFFFFFFu);  // a white top row
    UnlockImage(grabbed);
    Cls();
    DrawImage(grabbed, 100, 100);
    EXPECT_FALSE(GLFrame(grabbed)->bottom_up);
    {
        const Screen s;
        EXPECT_EQ(s.at(110, 100).r, 255);
        EXPECT_EQ(s.at(110, 101).r, 0);
        EXPECT_EQ(s.at(110, 139).r, 0);
    }

    // A mip chain follows: shrunk, the new pixels show.
    TImagePtr chained = LoadImage(Solid(64, 64, 0xFFFF0000u), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    SetImageHandle(chained, 0, 0);
    SetScale(0.25f, 0.25f);
    DrawImage(chained, 0, 0);
    LockImage(chained)->ClearPixels(0xFF0000FFu);
    Cls();
    DrawImage(chained, 0, 0);
    SetScale(1, 1);
    const Rgba c = Screen().at(8, 8);
    EXPECT_EQ(c.r, 0);
    EXPECT_GE(c.b, 254);
}

TEST_F(ImageGL, DroppedTexturesAreDeletedAtTheNextCreation) {
    TextureDeletionQueue& q = GLTextureDeletionQueue();
    TImagePtr keep = LoadImage(Solid(4, 4, 0xFFFFFFFFu), 0);
    keep->Frame(0);  // ties the queue to this generation
    EXPECT_EQ(q.seq(), GraphicsSeq());
    {
        TImagePtr gone = LoadImage(Solid(4, 4, 0xFFFFFFFFu), 0);
        gone->Frame(0);
    }
    EXPECT_EQ(q.pending(), 1u);
    TImagePtr next = LoadImage(Solid(4, 4, 0xFF0000FFu), 0);
    DrawImage(next, 0, 0);
    EXPECT_EQ(q.pending(), 0u);
    EXPECT_EQ(Screen().at(1, 1).b, 255);
}

TEST_F(ImageGL, GrabbedOvalsRoundTrip) {
    SetColor(255, 0, 0);
    DrawOval(20, 20, 64, 64);
    SetColor(0, 255, 0);
    DrawOval(30, 40, 30, 20);
    SetColor(40, 80, 255);
    DrawOval(60, 25, 20, 50);
    const TPixmapPtr want = GrabPixmap(20, 20, 64, 64);

    TImagePtr img = CreateImage(64, 64, 1, 0);
    SetOrigin(5, 5);  // grabbing ignores origin, handle and transform
    SetScale(2, 2);
    GrabImage(img, 20, 20);
    SetOrigin(0, 0);
    SetScale(1, 1);
    Cls();
    SetColor(255, 255, 255);
    DrawImage(img, 150, 100);
    const TPixmapPtr got = GrabPixmap(150, 100, 64, 64);
    int differing = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            differing += (got->ReadPixel(x, y) & 0xFFFFFF) != (want->ReadPixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    EXPECT_NE(want->ReadPixel(32, 32) & 0xFFFFFF, 0u);  // something was drawn

    // A masked image makes the mask colour (black) transparent.
    TImagePtr masked = CreateImage(64, 64, 1, MASKEDIMAGE);
    GrabImage(masked, 150, 100);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(32, 32) >> 24, 255u);
}

}  // namespace
}  // namespace kestrel::test

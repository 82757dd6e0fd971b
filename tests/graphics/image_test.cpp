// Images without a renderer: frames, pixmaps, masking, animation cells,
// handles and the automatic flags.
#include <gtest/gtest.h>

#include "toolkit/core/error.h"
#include "toolkit/graphics/image.h"

namespace kestrel {
namespace {

// Every pixel carries its own coordinates: red = x / 4, green = y.
TPixmapPtr Coordinates(int w, int h) {
    TPixmapPtr p = CreatePixmap(w, h, PF_RGBA8888, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, 0xFF000000u | std::uint32_t(x / 4) << 16 | std::uint32_t(y) << 8);
    return p;
}

TEST(Image, CreateMakesEmptyFramesAndLockMakesPixmaps) {
    TImagePtr img = TImage::Create(10, 6, 3, FILTEREDIMAGE, 1, 2, 3);
    EXPECT_EQ(img->width, 10);
    EXPECT_EQ(img->height, 6);
    EXPECT_EQ(img->flags, FILTEREDIMAGE);
    EXPECT_EQ(img->mask_b, 3);
    ASSERT_EQ(img->pixmaps.size(), 3u);
    EXPECT_EQ(img->frames.size(), 3u);
    EXPECT_EQ(img->seqs, (std::vector<int>{0, 0, 0}));
    EXPECT_FALSE(img->pixmaps[1]);

    img->seqs[1] = 9;  // as if a frame had been made
    TPixmapPtr p = img->Lock(1, 1, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 10);
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(img->seqs[1], 9);  // reading keeps the frame
    EXPECT_EQ(img->Lock(1, 1, 1), p);
    EXPECT_EQ(img->seqs[1], 0);  // writing makes the next draw upload again

    EXPECT_THROW(img->Lock(3, 1, 0), TArrayBoundsException);
    EXPECT_THROW(img->Frame(-1), TArrayBoundsException);
}

TEST(Image, PixmapsWithoutAlphaAreMaskedOnlyWhenMasked) {
    TPixmapPtr rgb = CreatePixmap(2, 1, PF_RGB888, 4);
    rgb->WritePixel(0, 0, 0xFF0000FFu);  // the mask colour (0, 0, 255)
    rgb->WritePixel(1, 0, 0xFF102030u);

    TImagePtr masked = TImage::Load(rgb, MASKEDIMAGE, 0, 0, 255);
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->pixmaps[0]->format, PF_RGBA8888);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(0, 0) >> 24, 0u);
    EXPECT_EQ(masked->pixmaps[0]->ReadPixel(1, 0), 0xFF102030u);

    TImagePtr plain = TImage::Load(rgb, 0, 0, 0, 255);
    EXPECT_EQ(plain->pixmaps[0], rgb);

    // A pixmap with alpha is never masked.
    TPixmapPtr rgba = Coordinates(4, 4);
    rgba->WritePixel(0, 0, 0xFF0000FFu);
    TImagePtr keep = TImage::Load(rgba, MASKEDIMAGE, 0, 0, 255);
    EXPECT_EQ(keep->pixmaps[0], rgba);
}

TEST(Image, AnimationCellsLeftToRightThenTopToBottom) {
    // 448 x 170 cut into 448 x 17 strips: ten frames, top strip first.
    TPixmapPtr banner = Coordinates(448, 170);
    TImagePtr ten = TImage::LoadAnim(banner, 448, 17, 0, 10, 0, 0, 0, 0);
    ASSERT_TRUE(ten);
    ASSERT_EQ(ten->frames.size(), 10u);
    EXPECT_EQ(ten->width, 448);
    EXPECT_EQ(ten->height, 17);
    for (int f = 0; f < 10; ++f) {
        EXPECT_EQ(ten->pixmaps[f]->ReadPixel(0, 0), banner->ReadPixel(0, f * 17)) << f;
        EXPECT_EQ(ten->pixmaps[f]->ReadPixel(447, 16), banner->ReadPixel(447, f * 17 + 16)) << f;
    }
    // Each frame owns a copy, not a window on the source.
    EXPECT_NE(ten->pixmaps[0]->pixels, banner->pixels);

    EXPECT_FALSE(TImage::LoadAnim(banner, 448, 17, 0, 11, 0, 0, 0, 0));
    EXPECT_FALSE(TImage::LoadAnim(banner, 448, 17, 5, 6, 0, 0, 0, 0));

    // A 2 x 2 grid of 8 x 8 cells, starting at cell 1.
    TPixmapPtr grid = Coordinates(16, 16);
    TImagePtr three = TImage::LoadAnim(grid, 8, 8, 1, 3, 0, 0, 0, 0);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->pixmaps[0]->ReadPixel(0, 0), grid->ReadPixel(8, 0));
    EXPECT_EQ(three->pixmaps[1]->ReadPixel(0, 0), grid->ReadPixel(0, 8));
    EXPECT_EQ(three->pixmaps[2]->ReadPixel(0, 0), grid->ReadPixel(8, 8));

    // Cell sizes that cannot cut the picture give no image (no division by 0).
    EXPECT_FALSE(TImage::LoadAnim(grid, 0, 8, 0, 1, 0, 0, 0, 0));
    EXPECT_FALSE(TImage::LoadAnim(grid, 8, -8, 0, 1, 0, 0, 0, 0));
    EXPECT_FALSE(TImage::LoadAnim(grid, 8, 8, -1, 1, 0, 0, 0, 0));
    EXPECT_FALSE(TImage::LoadAnim(std::string("incbin::no/such/file.png"), 8, 8, 0, 1, 0, 0, 0, 0));
}

TEST(Image, ModuleFunctionsApplyAutomaticFlagsAndMidHandle) {
    EXPECT_EQ(GetAutoImageFlags(), MASKEDIMAGE | FILTEREDIMAGE);
    AutoImageFlags(-1);
    EXPECT_EQ(GetAutoImageFlags(), MASKEDIMAGE | FILTEREDIMAGE);

    TPixmapPtr doc = Coordinates(140, 81);
    TImagePtr plain = LoadImage(doc);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->flags, MASKEDIMAGE | FILTEREDIMAGE);
    EXPECT_FLOAT_EQ(plain->handle_x, 0);

    AutoMidHandle(1);
    TImagePtr mid = LoadImage(doc, 0);
    EXPECT_EQ(mid->flags, 0);
    EXPECT_FLOAT_EQ(mid->handle_x, 70);
    EXPECT_FLOAT_EQ(mid->handle_y, 40.5f);
    TImagePtr made = CreateImage(20, 10);
    EXPECT_EQ(made->flags, MASKEDIMAGE | FILTEREDIMAGE | DYNAMICIMAGE);
    EXPECT_FLOAT_EQ(made->handle_x, 10);
    TImagePtr anim = LoadAnimImage(doc, 70, 81, 0, 2, FILTEREDIMAGE);
    ASSERT_TRUE(anim);
    EXPECT_FLOAT_EQ(anim->handle_x, 35);
    AutoMidHandle(0);

    AutoImageFlags(FILTEREDIMAGE | MIPMAPPEDIMAGE);
    EXPECT_EQ(CreateImage(4, 4, 2)->flags, FILTEREDIMAGE | MIPMAPPEDIMAGE | DYNAMICIMAGE);
    AutoImageFlags(MASKEDIMAGE | FILTEREDIMAGE);

    SetImageHandle(plain, 3, 4.5f);
    EXPECT_FLOAT_EQ(plain->handle_y, 4.5f);
    EXPECT_EQ(ImageWidth(plain), 140);
    EXPECT_EQ(ImageHeight(plain), 81);

    int r, g, b;
    SetMaskColor(1, 2, 3);
    GetMaskColor(r, g, b);
    EXPECT_EQ(r * 100 + g * 10 + b, 123);
    EXPECT_EQ(CreateImage(1, 1)->mask_g, 2);
    SetMaskColor(0, 0, 0);

    EXPECT_FALSE(LoadImage(std::string("incbin::no/such/picture.png")));
    EXPECT_THROW(ImageWidth(nullptr), TNullObjectException);
    EXPECT_THROW(MidHandleImage(nullptr), TNullObjectException);
}

}  // namespace
}  // namespace kestrel

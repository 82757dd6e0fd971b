// Texture sizes, mipmap chains, the filter table, the deletion queue and the
// layout of a picture inside its texture (edge repetition).
#include <gtest/gtest.h>

#include "toolkit/core/error.h"
#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/image_flags.h"
#include "toolkit/graphics/texture_deletion_queue.h"
#include "toolkit/graphics/texture_layout.h"

namespace kestrel {
namespace {

const auto kAnySize = [](int, int) { return true; };

TEST(TextureLayout, PowerOfTwoSizes) {
    EXPECT_EQ(NextPow2(0), 1);
    EXPECT_EQ(NextPow2(1), 1);
    EXPECT_EQ(NextPow2(2), 2);
    EXPECT_EQ(NextPow2(3), 4);
    EXPECT_EQ(NextPow2(48), 64);
    EXPECT_EQ(NextPow2(64), 64);
    EXPECT_EQ(NextPow2(65), 128);
    EXPECT_EQ(NextPow2(768), 1024);

    EXPECT_EQ(AdjustTexSize(48, 48, kAnySize), (TexSize{64, 64}));
    EXPECT_EQ(AdjustTexSize(1024, 768, kAnySize), (TexSize{1024, 1024}));
    EXPECT_EQ(AdjustTexSize(140, 81, kAnySize), (TexSize{256, 128}));
}

TEST(TextureLayout, ShrinksUntilTheRendererAcceptsAndFailsAtOneByOne) {
    std::vector<TexSize> asked;
    const auto upTo256 = [&](int w, int h) {
        asked.push_back({w, h});
        return w <= 256 && h <= 256;
    };
    // Both sides halve together; a side at 1 stays 1.
    EXPECT_EQ(AdjustTexSize(1000, 3, upTo256), (TexSize{256, 1}));
    const std::vector<TexSize> want = {{1024, 4}, {512, 2}, {256, 1}};
    EXPECT_EQ(asked, want);

    int calls = 0;
    try {
        AdjustTexSize(8, 2, [&](int, int) {
            ++calls;
            return false;
        });
        FAIL() << "no size fits, yet a size was returned";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Unable to calculate tex size");
    }
    EXPECT_EQ(calls, 4);  // 8x2, 4x1, 2x1, 1x1
}

TEST(TextureLayout, MipChainAndFilters) {
    const std::vector<TexSize> chain = {{8, 2}, {4, 1}, {2, 1}, {1, 1}};
    EXPECT_EQ(MipChain(8, 2), chain);
    EXPECT_EQ(MipChain(1, 1), (std::vector<TexSize>{{1, 1}}));
    EXPECT_EQ(MipChain(64, 64).size(), 7u);

    auto f = FiltersFor(0);
    EXPECT_EQ(f.mag, TexFilter::Nearest);
    EXPECT_EQ(f.min, TexFilter::Nearest);
    f = FiltersFor(MIPMAPPEDIMAGE);
    EXPECT_EQ(f.mag, TexFilter::Nearest);
    EXPECT_EQ(f.min, TexFilter::NearestMipmapNearest);
    f = FiltersFor(FILTEREDIMAGE | MASKEDIMAGE);
    EXPECT_EQ(f.mag, TexFilter::Linear);
    EXPECT_EQ(f.min, TexFilter::Linear);
    f = FiltersFor(FILTEREDIMAGE | MIPMAPPEDIMAGE);
    EXPECT_EQ(f.mag, TexFilter::Linear);
    EXPECT_EQ(f.min, TexFilter::LinearMipmapLinear);
}

TEST(TextureDeletionQueue, NamesWaitForTheNextCreationOfTheirGeneration) {
    TextureDeletionQueue q;
    EXPECT_TRUE(q.TakeForCreation(5).empty());  // ties the list to generation 5
    q.Queue(11, 5);
    q.Queue(12, 5);
    q.Queue(13, 4);  // an older generation: its texture is already gone
    q.Queue(14, 0);  // never made
    EXPECT_EQ(q.pending(), 2u);
    EXPECT_EQ(q.TakeForCreation(5), (std::vector<unsigned>{11, 12}));
    EXPECT_EQ(q.pending(), 0u);

    q.Queue(21, 5);
    // The generation changed before the next creation: nothing is deleted
    // (the names belonged to a context that no longer exists).
    EXPECT_TRUE(q.TakeForCreation(6).empty());
    EXPECT_EQ(q.seq(), 6);
    q.Queue(22, 5);
    EXPECT_EQ(q.pending(), 0u);
    for (unsigned n = 0; n < 25; ++n) q.Queue(100 + n, 6);  // grows past its first 10
    EXPECT_EQ(q.TakeForCreation(6).size(), 25u);
}

TPixmapPtr Gradient(int w, int h, int format = PF_RGBA8888) {
    TPixmapPtr p = CreatePixmap(w, h, format, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y, 0xFF000000u | std::uint32_t(x * 5) << 16 | std::uint32_t(y * 5) << 8 | 77u);
    return p;
}

TEST(TextureLayout, PictureTopLeftWithRepeatedLastRowColumnAndPixel) {
    TPixmapPtr src = Gradient(48, 48);
    TPixmapPtr tex = TextureLayoutPixmap(src, 64, 64);
    ASSERT_EQ(tex->width, 64);
    ASSERT_EQ(tex->height, 64);
    EXPECT_EQ(tex->format, PF_RGBA8888);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) ASSERT_EQ(tex->ReadPixel(x, y), src->ReadPixel(x, y)) << x << "," << y;
    for (int y = 0; y < 48; ++y) EXPECT_EQ(tex->ReadPixel(48, y), src->ReadPixel(47, y)) << y;
    for (int x = 0; x < 48; ++x) EXPECT_EQ(tex->ReadPixel(x, 48), src->ReadPixel(x, 47)) << x;
    EXPECT_EQ(tex->ReadPixel(48, 48), src->ReadPixel(47, 47));
    // Beyond the repeated edge: transparent black.
    EXPECT_EQ(tex->ReadPixel(49, 10), 0u);
    EXPECT_EQ(tex->ReadPixel(10, 63), 0u);
    EXPECT_EQ(tex->ReadPixel(63, 63), 0u);

    // Only the height grows: no column is pasted.
    TPixmapPtr wide = Gradient(64, 3);
    TPixmapPtr t2 = TextureLayoutPixmap(wide, 64, 4);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(t2->ReadPixel(x, 3), wide->ReadPixel(x, 2)) << x;
}

TEST(TextureLayout, PowerOfTwoPictureIsUsedAsIsOrConverted) {
    TPixmapPtr rgba = Gradient(64, 32);
    EXPECT_EQ(TextureLayoutPixmap(rgba, 64, 32), rgba);  // no enlarged copy

    TPixmapPtr rgb = Gradient(4, 4, PF_RGB888);
    TPixmapPtr conv = TextureLayoutPixmap(rgb, 4, 4);
    ASSERT_NE(conv, rgb);
    EXPECT_EQ(conv->format, PF_RGBA8888);
    EXPECT_EQ(conv->ReadPixel(3, 2), rgb->ReadPixel(3, 2));
}

}  // namespace
}  // namespace kestrel

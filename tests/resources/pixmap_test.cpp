#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {
namespace {

TEST(Pixmap, CreateRoundsThePitchAndWindowsShareMemory) {
    auto p = CreatePixmap(3, 2, PF_RGB888, 4);
    EXPECT_EQ(PixmapPitch(p), 12);  // 9 bytes rounded up to 12
    EXPECT_EQ(p->capacity, 24);
    EXPECT_EQ(PixmapPitch(CreatePixmap(5, 1, PF_I8, 1)), 5);
    EXPECT_EQ(PixmapPitch(CreatePixmap(5, 1, PF_I8, 8)), 8);
    EXPECT_EQ(PixmapPitch(CreatePixmap(48, 48, PF_RGBA8888, 4)), 192);
    EXPECT_EQ(PixmapPixelPtr(p, 2, 1), p->pixels + 12 + 6);

    auto big = CreatePixmap(4, 4, PF_RGBA8888);
    ClearPixels(big, 0);
    auto win = PixmapWindow(big, 1, 2, 2, 2);
    EXPECT_EQ(win->capacity, -1);
    EXPECT_EQ(win->pitch, big->pitch);
    EXPECT_EQ(win->_source, big);
    WritePixel(win, 1, 1, 0x11223344);
    EXPECT_EQ(ReadPixel(big, 2, 3), 0x11223344u);
    EXPECT_THROW(PixmapWindow(big, 3, 3, 2, 1), TRuntimeException);

    std::weak_ptr<TPixmap> weak = big;
    big.reset();
    EXPECT_FALSE(weak.expired());  // the window keeps its source alive
    win.reset();
    EXPECT_TRUE(weak.expired());

    EXPECT_THROW(CreatePixmap(-1, 2, PF_I8), TRuntimeException);
    EXPECT_THROW(CreatePixmap(2, 2, 7), TRuntimeException);
    EXPECT_THROW(CreatePixmap(100000, 100000, PF_RGBA8888), TRuntimeException);
    EXPECT_THROW(PixmapWidth(nullptr), TNullObjectException);
}

TEST(Pixmap, ReadAndWritePixelPerFormat) {
    auto a8 = CreatePixmap(2, 1, PF_A8);
    WritePixel(a8, 0, 0, 0x7F123456);
    EXPECT_EQ(a8->pixels[0], 0x7F);
    EXPECT_EQ(ReadPixel(a8, 0, 0), 0x7FFFFFFFu);  // white with the stored alpha

    auto i8 = CreatePixmap(1, 1, PF_I8);
    WritePixel(i8, 0, 0, 0xFF0A141F);  // (10 + 20 + 31) / 3 = 20
    EXPECT_EQ(i8->pixels[0], 20);
    EXPECT_EQ(ReadPixel(i8, 0, 0), 0xFF141414u);

    auto bgr = CreatePixmap(1, 1, PF_BGR888);
    WritePixel(bgr, 0, 0, 0x80102030);
    EXPECT_EQ(bgr->pixels[0], 0x30);
    EXPECT_EQ(bgr->pixels[2], 0x10);
    EXPECT_EQ(ReadPixel(bgr, 0, 0), 0xFF102030u);  // no alpha: 0xFF

    auto bgra = CreatePixmap(1, 1, PF_BGRA8888);
    WritePixel(bgra, 0, 0, 0x80102030);
    EXPECT_EQ(std::vector<std::uint8_t>(bgra->pixels, bgra->pixels + 4),
              (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 0x80}));
    EXPECT_EQ(ReadPixel(bgra, 0, 0), 0x80102030u);

    auto rgba = CreatePixmap(1, 1, PF_RGBA8888);
    WritePixel(rgba, 0, 0, 0x80102030);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba->pixels, rgba->pixels + 4),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x80}));

    EXPECT_THROW(ReadPixel(rgba, 1, 0), TRuntimeException);
    EXPECT_THROW(WritePixel(rgba, 0, -1, 0), TRuntimeException);
}

TEST(Pixmap, ClearCopyPasteAndFlips) {
    auto p = CreatePixmap(3, 2, PF_RGB888);  // pitch 12: rows not contiguous
    std::memset(p->pixels, 0xAB, p->capacity);
    ClearPixels(p, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(ReadPixel(p, x, y), 0xFF000000u);
    EXPECT_EQ(p->pixels[9], 0xAB);  // padding untouched
    ClearPixels(p, 0xFF010203);
    EXPECT_EQ(ReadPixel(p, 2, 1), 0xFF010203u);

    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) WritePixel(p, x, y, 0xFF000000u | (y * 3 + x));
    auto c = CopyPixmap(p);
    EXPECT_NE(c->pixels, p->pixels);
    EXPECT_EQ(ReadPixel(c, 2, 1), 0xFF000005u);

    auto xf = XFlipPixmap(p);
    auto yf = YFlipPixmap(p);
    EXPECT_EQ(xf->format, PF_RGB888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(ReadPixel(xf, x, y), ReadPixel(p, 2 - x, y));
            EXPECT_EQ(ReadPixel(yf, x, y), ReadPixel(p, x, 1 - y));
        }

    auto dest = CreatePixmap(4, 4, PF_RGBA8888);
    ClearPixels(dest, 0);
    dest->Paste(*p, 1, 2);  // converted on the way in
    EXPECT_EQ(ReadPixel(dest, 1, 2), 0xFF000000u);
    EXPECT_EQ(ReadPixel(dest, 3, 3), 0xFF000005u);
    EXPECT_EQ(ReadPixel(dest, 0, 2), 0u);
    EXPECT_THROW(dest->Paste(*p, 2, 2), TRuntimeException);  // would run off the edge
}

// Every format as a packed colour that it can hold exactly.
std::uint32_t Representable(int format, std::uint32_t argb) {
    const std::uint32_t a = argb >> 24, r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
    switch (format) {
        case PF_I8: return 0xFF000000u | r * 0x010101u;
        case PF_A8: return a << 24 | 0xFFFFFFu;
        case PF_RGB888:
        case PF_BGR888: return 0xFF000000u | r << 16 | g << 8 | b;
        default: return argb;
    }
}

TEST(PixelConversion, EveryPairOfFormats) {
    const std::uint32_t colours[] = {0x80FF4020, 0x00000000, 0xFFFFFFFF, 0x7F0A141E, 0x01020304};
    for (int from = PF_I8; from <= PF_RGBA8888; ++from) {
        for (int to = PF_I8; to <= PF_RGBA8888; ++to) {
            for (std::uint32_t colour : colours) {
                auto src = CreatePixmap(1, 1, from);
                WritePixel(src, 0, 0, Representable(from, colour));
                const std::uint32_t stored = ReadPixel(src, 0, 0);
                auto conv = ConvertPixmap(src, to);
                ASSERT_EQ(conv->format, to);
                const std::uint32_t got = ReadPixel(conv, 0, 0);
                // What the destination makes of the RGBA value.
                const std::uint32_t a = stored >> 24, r = (stored >> 16) & 255,
                                    g = (stored >> 8) & 255, b = stored & 255;
                std::uint32_t want;
                switch (to) {
                    case PF_I8: want = 0xFF000000u | ((r + g + b) / 3) * 0x010101u; break;
                    case PF_A8: want = a << 24 | 0xFFFFFFu; break;
                    case PF_RGB888:
                    case PF_BGR888: want = 0xFF000000u | (stored & 0xFFFFFFu); break;
                    default: want = stored;
                }
                EXPECT_EQ(got, want) << "from " << from << " to " << to << " colour " << std::hex
                                     << colour;
                // Where the destination holds everything the source had, the
                // way back gives the source's bytes again.
                const bool lossless = to == from || to == PF_RGBA8888 || to == PF_BGRA8888 ||
                                      ((to == PF_RGB888 || to == PF_BGR888) &&
                                       AlphaBitsPerPixel[from] == 0);
                if (lossless) {
                    auto back = ConvertPixmap(conv, from);
                    EXPECT_EQ(std::memcmp(back->pixels, src->pixels, BytesPerPixel[from]), 0)
                        << "round trip " << from << " -> " << to;
                }
            }
        }
    }
}

TEST(MaskPixmap, MaskedPixelsTakeTheAverageOfTheirNeighbours) {
    // 3 x 3, magenta key in the middle and in a corner.
    auto p = CreatePixmap(3, 3, PF_RGB888);
    const std::uint32_t c[9] = {0xFF0000FF, 0xFF100000, 0xFF200000,  //
                                0xFF000300, 0xFFFF00FF, 0xFF000001,  //
                                0xFFFF00FF, 0xFF000000, 0xFF000000};
    for (int i = 0; i < 9; ++i) WritePixel(p, i % 3, i / 3, c[i]);
    auto m = MaskPixmap(p, 255, 0, 255);
    EXPECT_EQ(m->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(m, 1, 0), 0xFF100000u);  // kept, alpha 255
    // Middle: 7 unmasked neighbours; red (16 + 32) / 7 = 6, green 3 / 7 = 0,
    // blue (255 + 1) / 7 = 36.
    EXPECT_EQ(ReadPixel(m, 1, 1), 0x00060024u);
    // Corner (0, 2): neighbours (0,1), (1,1) masked, (1,2) -> average of
    // (0,3,0) and (0,0,0) = (0,1,0).
    EXPECT_EQ(ReadPixel(m, 0, 2), 0x00000100u);

    auto lonely = CreatePixmap(1, 1, PF_RGBA8888);
    WritePixel(lonely, 0, 0, 0x80FF00FF);
    EXPECT_EQ(ReadPixel(MaskPixmap(lonely, 255, 0, 255), 0, 0), 0u);  // black, transparent
}

TEST(ResizePixmap, BilinearSamplingAtPixelCentres) {
    auto p = CreatePixmap(2, 2, PF_RGBA8888);
    WritePixel(p, 0, 0, 0x10203040);
    WritePixel(p, 1, 0, 0x30405060);
    WritePixel(p, 0, 1, 0x50607080);
    WritePixel(p, 1, 1, 0x7080A0C1);
    auto one = ResizePixmap(p, 1, 1);
    // The average of the four, truncated: alpha 0x40, red 0x50, green 0x64,
    // blue (64 + 96 + 128 + 193) / 4 = 120.25 -> 120 = 0x78.
    EXPECT_EQ(ReadPixel(one, 0, 0), 0x40506478u);

    // Same format back; up-scaling keeps the corners (edge pixels, no neighbour).
    auto rgb = CreatePixmap(2, 1, PF_RGB888);
    WritePixel(rgb, 0, 0, 0xFF000000);
    WritePixel(rgb, 1, 0, 0xFFC8C8C8);
    auto wide = ResizePixmap(rgb, 4, 1);
    EXPECT_EQ(wide->format, PF_RGB888);
    EXPECT_EQ(wide->pitch, 12);
    EXPECT_EQ(ReadPixel(wide, 0, 0), 0xFF000000u);  // sx = -0.25 -> pixel 0
    EXPECT_EQ(ReadPixel(wide, 1, 0), 0xFF323232u);  // sx = 0.25 -> 200 / 4
    EXPECT_EQ(ReadPixel(wide, 2, 0), 0xFF969696u);  // sx = 0.75 -> 150
    EXPECT_EQ(ReadPixel(wide, 3, 0), 0xFFC8C8C8u);  // sx = 1.25 -> last pixel

    EXPECT_EQ(ResizePixmap(p, 0, 3)->width, 0);
    auto empty = CreatePixmap(0, 0, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(ResizePixmap(empty, 2, 2), 1, 1), 0u);
}

}  // namespace
}  // namespace kestrel

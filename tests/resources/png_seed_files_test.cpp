// The PNG seed files of the fuzz corpus are written by an independent
// encoder (fuzz/make_png_seeds.py) in every colour type and bit depth,
// plain and interlaced: each must decode to the pixels that script drew.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream.h"

namespace kestrel {
namespace {

int Sample(int x, int y, int c, int depth) { return ((x * 5 + y * 3 + c * 7) * 37) % (1 << depth); }

int To8(int v, int depth) {
    if (depth == 16) return v >> 8;
    if (depth == 8) return v;
    return v * 255 / ((1 << depth) - 1);
}

std::uint32_t Argb(int a, int r, int g, int b) {
    return static_cast<std::uint32_t>(a) << 24 | r << 16 | g << 8 | b;
}

std::uint32_t Expected(int type, int depth, bool trns, int x, int y) {
    auto s = [&](int c) { return Sample(x, y, c, depth); };
    switch (type) {
        case 0: {
            const int g = To8(s(0), depth);
            return Argb(trns && s(0) == 1 ? 0 : 255, g, g, g);
        }
        case 2:
            return Argb(trns && s(0) == 1 && s(1) == 2 && s(2) == 3 ? 0 : 255, To8(s(0), depth),
                        To8(s(1), depth), To8(s(2), depth));
        case 3: {
            const int i = s(0);
            return Argb(trns && i < 5 ? (i * 97) % 256 : 255, (i * 53) % 256, (i * 53 + 91) % 256,
                        (i * 53 + 182) % 256);
        }
        case 4: {
            const int g = To8(s(0), depth);
            return Argb(To8(s(1), depth), g, g, g);
        }
        default:
            return Argb(To8(s(3), depth), To8(s(0), depth), To8(s(1), depth), To8(s(2), depth));
    }
}

TEST(PngSeedFiles, EveryColourTypeAndDepthDecodesToItsPixels) {
    InitPngLoader();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PNG_SEED_DIR)) {
        const std::string name = entry.path().filename().string();  // c<type>_d<depth>[_i][_t].png
        int type = 0, depth = 0;
        ASSERT_EQ(std::sscanf(name.c_str(), "c%d_d%d", &type, &depth), 2) << name;
        const bool trns = name.find("_t") != std::string::npos;
        auto p = LoadPixmap(entry.path().string());
        ASSERT_NE(p, nullptr) << name;
        ASSERT_EQ(p->width, 9);
        ASSERT_EQ(p->height, 7);
        const bool alpha = type == 4 || type == 6 || trns;
        EXPECT_EQ(p->format, alpha ? PF_RGBA8888 : type == 0 ? PF_I8 : PF_RGB888) << name;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(p->ReadPixel(x, y), Expected(type, depth, trns, x, y))
                    << name << " at " << x << "," << y;
        ++files;
    }
    EXPECT_EQ(files, 52);
}

}  // namespace
}  // namespace kestrel

// The graphics icon: the module's stored copy, and the icon that real
// windows get, once with SDL's offscreen driver and once on the X display,
// where the desktop's _NET_WM_ICON property is read back and compared.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net_wm_icon.h"
#include "tests/graphics/window_fixture.h"
#include "toolkit/core/app.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/sdl/window_icon.h"
#include "toolkit/graphics/window_icon.h"
#include "toolkit/resources/pixel_format.h"
#include "toolkit/system/sdl/sdl_system_driver.h"

namespace kestrel {
namespace {

// A pattern in which every pixel differs, with a translucent band at the
// bottom so that alpha must survive the trip as well.
std::uint32_t PatternPixel(int x, int y) {
    const std::uint32_t a = y >= 56 ? 0x40 : 0xFF;
    return a << 24 | std::uint32_t(x * 4) << 16 | std::uint32_t(y * 4) << 8 | 0x5A;
}

TPixmapPtr PatternIcon(int format) {
    auto p = CreatePixmap(64, 64, format);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) WritePixel(p, x, y, PatternPixel(x, y));
    return p;
}

TEST(GraphicsIcon, KeepsAPrivateRgbaCopyAndClearsOnNullOrEmptyPixmaps) {
    auto rgb = CreatePixmap(3, 2, PF_RGB888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) WritePixel(rgb, x, y, 0xFF000000u | std::uint32_t(0x102030 * (x + 3 * y + 1)));
    SetGraphicsIcon(rgb);
    TPixmapPtr icon = GraphicsIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon, rgb);
    EXPECT_EQ(icon->format, PF_RGBA8888);
    EXPECT_EQ(icon->width, 3);
    EXPECT_EQ(icon->height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(icon->ReadPixel(x, y), rgb->ReadPixel(x, y)) << x << "," << y;
    // Changing the caller's pixmap afterwards leaves the icon alone.
    const std::uint32_t before = icon->ReadPixel(0, 0);
    WritePixel(rgb, 0, 0, 0xFFFFFFFFu);
    EXPECT_EQ(GraphicsIcon()->ReadPixel(0, 0), before);

    // A pixmap already in the icon's format is still copied, alpha and all.
    auto rgba = PatternIcon(PF_RGBA8888);
    SetGraphicsIcon(rgba);
    ASSERT_NE(GraphicsIcon(), nullptr);
    EXPECT_NE(GraphicsIcon(), rgba);
    EXPECT_EQ(GraphicsIcon()->ReadPixel(10, 60), PatternPixel(10, 60));
    WritePixel(rgba, 10, 60, 0);
    EXPECT_EQ(GraphicsIcon()->ReadPixel(10, 60), PatternPixel(10, 60));

    SetGraphicsIcon(CreatePixmap(0, 5, PF_RGBA8888));
    EXPECT_EQ(GraphicsIcon(), nullptr) << "an empty pixmap is no icon";
    SetGraphicsIcon(rgba);
    SetGraphicsIcon(nullptr);
    EXPECT_EQ(GraphicsIcon(), nullptr);
}

using test::OnX11;

class IconWindow : public test::PlatformWindowTest {
protected:
    IconWindow() : PlatformWindowTest("Kestrel icon test") {}
    void TearDown() override {
        PlatformWindowTest::TearDown();
        SetGraphicsIcon(nullptr);
    }
};

TEST_F(IconWindow, AWindowOpenedAfterTheIconIsSetCarriesIt) {
    SetGraphicsIcon(PatternIcon(PF_BGRA8888));  // converted on the way in
    auto g = Graphics(320, 240, 0, 60, 0);
    ASSERT_NE(g, nullptr) << GraphicsError();
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    const std::uint32_t id = SDL_GetWindowID(window);
    int w = 0, h = 0;
    EXPECT_TRUE(sdl::WindowIconSize(id, w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 64);

    if (OnX11()) {
        const std::vector<unsigned long> prop = NetWmIcon(window);
        ASSERT_EQ(prop.size(), 2u + 64u * 64u) << "the window has no (or a wrong) _NET_WM_ICON";
        EXPECT_EQ(prop[0], 64u);
        EXPECT_EQ(prop[1], 64u);
        for (int y = 0; y < 64; y += 7)
            for (int x = 0; x < 64; x += 5)
                ASSERT_EQ(prop[2 + std::size_t(y) * 64 + x] & 0xFFFFFFFFu, PatternPixel(x, y))
                    << "pixel " << x << "," << y;
    }

    EndGraphics();
    EXPECT_FALSE(sdl::WindowIconSize(id, w, h)) << "a closed window is forgotten";
}

TEST_F(IconWindow, WithoutAnIconTheWindowGetsNone) {
    SetGraphicsIcon(nullptr);
    auto g = Graphics(320, 240, 0, 60, 0);
    ASSERT_NE(g, nullptr) << GraphicsError();
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    int w = -1, h = -1;
    EXPECT_FALSE(sdl::WindowIconSize(SDL_GetWindowID(window), w, h));
    EXPECT_EQ(w, 0);
    if (OnX11()) {
        EXPECT_TRUE(NetWmIcon(window).empty());
    }
}

}  // namespace
}  // namespace kestrel

// The program's start-up gives its window the game's own 64 x 64 icon: the
// picture committed under assets/icons, byte for byte, and (on X11) the
// window really carries it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/graphics/net_wm_icon.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/graphics/sdl/window_icon.h"
#include "toolkit/graphics/window_icon.h"
#include "toolkit/resources/pixel_format.h"
#include "toolkit/resources/pixmap_loader.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

TEST(WindowIcon, StartUpGivesTheWindowTheCommitted64PixelIcon) {
    replay::Harness harness;
    replay::Script script;
    script.frames = 1;
    std::string why;
    if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;

    const kestrel::TPixmapPtr icon = kestrel::GraphicsIcon();
    ASSERT_NE(icon, nullptr) << "start-up set no icon";
    const kestrel::TPixmapPtr file = kestrel::LoadPixmap(std::string(ICON_FILE));
    ASSERT_NE(file, nullptr) << ICON_FILE;
    const kestrel::TPixmapPtr want = file->Convert(kestrel::PF_RGBA8888);
    ASSERT_EQ(icon->width, 64);
    ASSERT_EQ(icon->height, 64);
    int opaque = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(icon->ReadPixel(x, y), want->ReadPixel(x, y)) << x << "," << y;
            opaque += (icon->ReadPixel(x, y) >> 24) == 0xFF;
        }
    EXPECT_GT(opaque, 64 * 64 / 4) << "the icon is mostly see-through";

    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(kestrel::sdl::WindowIconSize(SDL_GetWindowID(window), w, h));
    EXPECT_EQ(w, 64);
    const std::vector<unsigned long> prop = kestrel::NetWmIcon(window);
    if (!prop.empty()) {
        ASSERT_EQ(prop.size(), 2u + 64u * 64u);
        EXPECT_EQ(prop[2 + 32 * 64 + 32] & 0xFFFFFFFFu, want->ReadPixel(32, 32));
    }
    kestrel::RunExitHandlers();
}

}  // namespace
}  // namespace virexo

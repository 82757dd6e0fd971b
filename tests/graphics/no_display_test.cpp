// With no display at all (no X server, no Wayland, no offscreen driver
// asked for), Graphics gives null and tells why, instead of drawing into
// an invisible offscreen surface.
#include <gtest/gtest.h>

#include <cstdlib>

#include "toolkit/graphics/gl_graphics_driver.h"

namespace kestrel {
namespace {

TEST(NoDisplay, GraphicsIsNullWithTheReason) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    InitGraphics();
    EXPECT_EQ(GLGraphics(1024, 768, 0, 60, 0), nullptr);
    const std::string why = GraphicsError();
    EXPECT_NE(why.find("no display could be opened"), std::string::npos) << why;
    EXPECT_NE(why.find("x11"), std::string::npos) << why;
    EXPECT_EQ(GraphicsWidth(), 0);
    // Full screen the same.
    EXPECT_EQ(Graphics(1024, 768, 32, 60, 0), nullptr);
    EXPECT_FALSE(GraphicsError().empty());
}

}  // namespace
}  // namespace kestrel

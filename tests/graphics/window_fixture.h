// Tests that open real windows: the SDL system driver with the GL graphics
// driver, on the X display unless SDL_VIDEODRIVER names another video
// driver (SDL's offscreen one, say). Skipped when X is asked for and absent.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "toolkit/core/app.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"

namespace kestrel::test {

inline bool OnX11() {
    const char* d = std::getenv("SDL_VIDEODRIVER");
    return !(d && *d);
}

class PlatformWindowTest : public ::testing::Test {
protected:
    explicit PlatformWindowTest(const char* title) : title_(title) {}
    void SetUp() override {
        if (OnX11() && !std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        sdl::UseSDLSystemDriver();
        InitSystem();
        InitGraphics();
        SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
        AppTitle = title_;
    }
    void TearDown() override { EndGraphics(); }

private:
    const char* title_;
};

}  // namespace kestrel::test

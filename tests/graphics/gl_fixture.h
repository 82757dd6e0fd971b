// Rendering tests on a real OpenGL context (Mesa's software renderer through
// SDL's offscreen driver unless SDL_VIDEODRIVER says otherwise): one
// 320 x 240 window for the whole run, pixels read back with GrabPixmap.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "toolkit/graphics/lumo2d.h"

namespace kestrel::test {

inline constexpr int kWidth = 320;
inline constexpr int kHeight = 240;

// Opens (or re-opens) the test graphics; false with the reason when no
// OpenGL display can be had.
bool OpenTestGraphics(std::string* why = nullptr);
// Whether the graphics were black right after the first opening.
bool FreshGraphicsWereBlack();

// Skips the test when no display exists; otherwise resets the drawing state
// to plain defaults (white, opaque, SOLIDBLEND, no transform, handle, origin
// or viewport) and clears the screen to black.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
};

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
};

// A framebuffer object of the program's own, kWidth x kHeight with an
// RGBA8 colour renderbuffer, bound for reading and drawing while it lives
// (complete() says whether it could be); the framebuffer bound before it
// comes back when it goes (the window's own is not always 0).
class ProgramFramebuffer {
public:
    ProgramFramebuffer();
    ~ProgramFramebuffer();
    ProgramFramebuffer(const ProgramFramebuffer&) = delete;
    ProgramFramebuffer& operator=(const ProgramFramebuffer&) = delete;
    bool complete() const { return complete_; }
    unsigned name() const { return fbo_; }

private:
    unsigned fbo_ = 0, colour_ = 0, before_ = 0;
    bool complete_ = false;
};

// The whole screen, read once.
class Screen {
public:
    Screen();
    Rgba at(int x, int y) const;
    bool IsBlack(int x, int y) const;
    bool Lit(int x, int y) const;  // any colour channel above 0
    // Of every 7th pixel along the column x and the row y, from 0 to
    // `along` (exclusive), how many are not the colour `want` (each channel
    // within one level): for the last column and row of an enlarged
    // picture, which filtering keeps pure only when its edges are repeated.
    int OffColourAlong(int x, int y, int along, Rgba want) const;
    const TPixmapPtr& pixmap() const { return pix_; }

private:
    TPixmapPtr pix_;
};

}  // namespace kestrel::test

// The offscreen framebuffer of a scaled picture (a window of another size
// than the picture, the full-screen fall-back): the picture is drawn into a
// framebuffer object of its own size and, at each swap, scaled into the
// window, aspect kept and letter-boxed.
#pragma once

#include "toolkit/graphics/sdl/window_fit.h"

namespace kestrel::sdl {

class OffscreenTarget {
public:
    // In the current context, which keeps its clear colour, scissor box and
    // viewport; the new picture is black. False when framebuffer objects
    // are missing.
    bool Create(int width, int height);
    // In the owning context, which must be current.
    void Destroy();
    bool active() const { return framebuffer_ != 0; }
    unsigned framebuffer() const { return framebuffer_; }
    // Binds the framebuffer for drawing and reading (nothing when inactive).
    void Bind() const;
    // Draws the picture into the window's back buffer: black bars, the
    // picture scaled (nearest pixel at a whole multiple, else linear).
    void PresentTo(int windowW, int windowH) const;

private:
    unsigned framebuffer_ = 0;
    unsigned color_ = 0;
    unsigned depthStencil_ = 0;
    int width_ = 0, height_ = 0;
};

}  // namespace kestrel::sdl

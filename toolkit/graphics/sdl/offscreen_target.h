// The offscreen framebuffer of the full-screen fall-back: the picture is
// drawn into a framebuffer object of the requested size and, at each swap,
// scaled into the window, aspect kept and letter-boxed.
#pragma once

namespace kestrel::sdl {

struct Letterbox {
    int x = 0, y = 0, w = 0, h = 0;
};

// The largest width x height rectangle with the picture's aspect that fits
// the window, centred (the bars share the rest).
Letterbox FitLetterbox(int pictureW, int pictureH, int windowW, int windowH);

class OffscreenTarget {
public:
    // In the current context; false when framebuffer objects are missing.
    bool Create(int width, int height);
    // In the owning context, which must be current.
    void Destroy();
    bool active() const { return framebuffer_ != 0; }
    unsigned framebuffer() const { return framebuffer_; }
    // Binds the framebuffer for drawing and reading (nothing when inactive).
    void Bind() const;
    // Draws the picture into the window's back buffer: black bars, the
    // picture scaled with linear filtering.
    void PresentTo(int windowW, int windowH) const;

private:
    unsigned framebuffer_ = 0;
    unsigned color_ = 0;
    unsigned depthStencil_ = 0;
    int width_ = 0, height_ = 0;
};

}  // namespace kestrel::sdl

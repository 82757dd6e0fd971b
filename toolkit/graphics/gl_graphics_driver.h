// The OpenGL graphics driver: graphics objects over native GL contexts.
#pragma once

#include "toolkit/graphics/gl_context.h"
#include "toolkit/graphics/graphics.h"

namespace kestrel {

class TGLGraphicsDriver;

class TGLGraphics : public TGraphics {
public:
    ~TGLGraphics() override;
    TGraphicsDriverPtr Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    void Close() override;

    GLContext* _context = nullptr;  // null once closed
};
using TGLGraphicsPtr = std::shared_ptr<TGLGraphics>;

class TGLGraphicsDriver : public TGraphicsDriver {
public:
    std::vector<TGraphicsModePtr> GraphicsModes() override;
    TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags) override;
    // Null when no context can be made (GraphicsError() tells why).
    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    void SetGraphics(const TGraphicsPtr& graphics) override;
    void Flip(int sync) override;
};

// The single driver, made on first use.
std::shared_ptr<TGLGraphicsDriver> GLGraphicsDriver();

// SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER), then Graphics.
TGraphicsPtr GLGraphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);

// For the renderer, about the current context (the one made current by
// SetGraphics):
// - the size of its picture in pixels: the requested width x height (also
//   in the full-screen fall-back, where the window is larger); 0 x 0 when
//   no context is current;
void GLCurrentSize(int& width, int& height);
// - the framebuffer object the picture is drawn into: 0 for the window's
//   own buffer, else the offscreen framebuffer of the full-screen fall-back.
//   The layer keeps it bound (as GL_FRAMEBUFFER, for drawing and reading)
//   whenever the context is current and after every swap, so the renderer
//   draws, clears, scissors and reads pixels in the picture's own
//   coordinates without knowing. A renderer that binds other framebuffers
//   calls GLBindDrawFramebuffer() to go back. glDrawBuffer/glReadBuffer
//   with GL_BACK/GL_FRONT do not apply to it: leave them as they are.
unsigned GLDrawFramebuffer();
void GLBindDrawFramebuffer();

}  // namespace kestrel

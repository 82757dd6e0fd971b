#include "toolkit/graphics/sdl/offscreen_target.h"

#include "toolkit/graphics/sdl/gl_framebuffers.h"

namespace kestrel::sdl {

bool OffscreenTarget::Create(int width, int height) {
    const GLFramebufferFunctions* functions = GLFramebuffers();
    if (!functions) return false;
    const GLFramebufferFunctions& fb = *functions;
    width_ = width;
    height_ = height;
    fb.genFramebuffers(1, &framebuffer_);
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    fb.genRenderbuffers(1, &color_);
    fb.bindRenderbuffer(GL_RENDERBUFFER, color_);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    fb.genRenderbuffers(1, &depthStencil_);
    fb.bindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                 depthStencil_);
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        Destroy();
        return false;
    }
    // Made while the program runs (a window resized away from the
    // picture's size): the renderer's state stays as it was.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    glViewport(0, 0, width, height);
    return true;
}

void OffscreenTarget::Destroy() {
    if (!framebuffer_) return;
    const GLFramebufferFunctions& fb = *GLFramebuffers();
    fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    fb.deleteFramebuffers(1, &framebuffer_);
    fb.deleteRenderbuffers(1, &color_);
    fb.deleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = color_ = depthStencil_ = 0;
}

void OffscreenTarget::Bind() const {
    if (framebuffer_) GLFramebuffers()->bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffscreenTarget::PresentTo(int windowW, int windowH) const {
    if (!framebuffer_) return;
    const GLFramebufferFunctions& fb = *GLFramebuffers();
    const Letterbox box = FitLetterbox(width_, height_, windowW, windowH);
    // The renderer's scissor box and clear colour stay as they were.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);

    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    if (box.w != windowW || box.h != windowH) {  // bars to paint
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The picture's bottom-left is GL's origin in both buffers.
    const int y0 = windowH - box.y - box.h;
    fb.blitFramebuffer(0, 0, width_, height_, box.x, y0, box.x + box.w, y0 + box.h,
                         GL_COLOR_BUFFER_BIT,
                         WholeMultiple(box, width_, height_) ? GL_NEAREST : GL_LINEAR);
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);

    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace kestrel::sdl

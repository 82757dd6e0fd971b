#include "toolkit/graphics/sdl/offscreen_target.h"

#include <SDL.h>
#include <SDL_opengl.h>

namespace kestrel::sdl {

namespace {

struct FramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

    bool Load() {
        auto get = [](const char* name) { return SDL_GL_GetProcAddress(name); };
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(get("glGenFramebuffers"));
        deleteFramebuffers =
            reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(get("glDeleteFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(get("glBindFramebuffer"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(get("glGenRenderbuffers"));
        deleteRenderbuffers =
            reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(get("glDeleteRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(get("glBindRenderbuffer"));
        renderbufferStorage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(get("glRenderbufferStorage"));
        framebufferRenderbuffer =
            reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(get("glFramebufferRenderbuffer"));
        checkFramebufferStatus =
            reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(get("glCheckFramebufferStatus"));
        blitFramebuffer = reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(get("glBlitFramebuffer"));
        return genFramebuffers && deleteFramebuffers && bindFramebuffer && genRenderbuffers &&
               deleteRenderbuffers && bindRenderbuffer && renderbufferStorage &&
               framebufferRenderbuffer && checkFramebufferStatus && blitFramebuffer;
    }
};

FramebufferFunctions g_fb;

}  // namespace

bool OffscreenTarget::Create(int width, int height) {
    if (!g_fb.Load()) return false;
    width_ = width;
    height_ = height;
    g_fb.genFramebuffers(1, &framebuffer_);
    g_fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    g_fb.genRenderbuffers(1, &color_);
    g_fb.bindRenderbuffer(GL_RENDERBUFFER, color_);
    g_fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    g_fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    g_fb.genRenderbuffers(1, &depthStencil_);
    g_fb.bindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    g_fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    g_fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                 depthStencil_);
    g_fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (g_fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        g_fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
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
    g_fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    g_fb.deleteFramebuffers(1, &framebuffer_);
    g_fb.deleteRenderbuffers(1, &color_);
    g_fb.deleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = color_ = depthStencil_ = 0;
}

void OffscreenTarget::Bind() const {
    if (framebuffer_) g_fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

void OffscreenTarget::PresentTo(int windowW, int windowH) const {
    if (!framebuffer_) return;
    const Letterbox box = FitLetterbox(width_, height_, windowW, windowH);
    // The renderer's scissor box and clear colour stay as they were.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);

    g_fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    g_fb.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    if (box.w != windowW || box.h != windowH) {  // bars to paint
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The picture's bottom-left is GL's origin in both buffers.
    const int y0 = windowH - box.y - box.h;
    g_fb.blitFramebuffer(0, 0, width_, height_, box.x, y0, box.x + box.w, y0 + box.h,
                         GL_COLOR_BUFFER_BIT,
                         WholeMultiple(box, width_, height_) ? GL_NEAREST : GL_LINEAR);
    g_fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);

    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace kestrel::sdl

#include "toolkit/graphics/gl_pixmap_copy.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/sdl/gl_framebuffers.h"
#include "toolkit/graphics/texture_deletion_queue.h"
#include "toolkit/resources/pixel_format.h"

namespace kestrel {

namespace {

// The texture a pixmap format is uploaded into, as large as the largest
// pixmap copied so far, with a framebuffer object to read it from; made in
// the context of GraphicsSeq `seq`.
struct CopyTexture {
    unsigned name = 0;
    GLuint framebuffer = 0;
    int width = 0, height = 0;
    int seq = 0;
    bool complete = false;
};
CopyTexture g_rgba, g_bgra;

// Ready to hold a w x h picture in the current context: remade when it is
// too small or belongs to an earlier context (whose names died with it).
// The internal format is left unsized so that the renderer may keep the
// pixels' own byte order (`upload_format`).
bool Prepare(CopyTexture& t, GLenum upload_format, int w, int h) {
    const GLFramebufferFunctions* fb = GLFramebuffers();
    if (t.seq != GraphicsSeq()) t = {};
    if (t.name && w <= t.width && h <= t.height) {
        TGLLumo2DDriver::BindTexture(t.name);
        return t.complete;
    }
    if (t.name) {
        GLTextureDeletionQueue().Queue(t.name, t.seq);
        fb->deleteFramebuffers(1, &t.framebuffer);
    }
    t.width = std::max(w, t.width);
    t.height = std::max(h, t.height);
    t.seq = GraphicsSeq();
    t.name = NewBoundTexture(GL_NEAREST, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, t.width, t.height, 0, upload_format, GL_UNSIGNED_BYTE, nullptr);
    GLint read_binding = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_binding);
    fb->genFramebuffers(1, &t.framebuffer);
    fb->bindFramebuffer(GL_READ_FRAMEBUFFER, t.framebuffer);
    fb->framebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.name, 0);
    t.complete = fb->checkFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    fb->bindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read_binding));
    return t.complete;
}

}  // namespace

bool CopyPixmapToFramebuffer(const TPixmap& pixmap, int x, int y, int height) {
    const GLFramebufferFunctions* fb = GLFramebuffers();
    if (!fb || pixmap.width <= 0 || pixmap.height <= 0 || !pixmap.pixels) return false;
    GLenum upload_format;
    CopyTexture* t;
    if (pixmap.format == PF_BGRA8888) {
        upload_format = GL_BGRA;
        t = &g_bgra;
    } else if (pixmap.format == PF_RGBA8888) {
        upload_format = GL_RGBA;
        t = &g_rgba;
    } else {
        return false;
    }
    const int w = pixmap.width, h = pixmap.height;
    if (!Prepare(*t, upload_format, w, h)) return false;
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap.pitch / 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, upload_format, GL_UNSIGNED_BYTE, pixmap.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    GLint read_binding = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_binding);
    fb->bindFramebuffer(GL_READ_FRAMEBUFFER, t->framebuffer);
    // The texture holds the pixmap's top row as its row 0, OpenGL's bottom:
    // read from its row h down to row 0, the pixmap lands top row first at
    // the top of the destination box.
    const int y0 = height - y - h;
    fb->blitFramebuffer(0, h, w, 0, x, y0, x + w, y0 + h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    fb->bindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read_binding));
    return true;
}

}  // namespace kestrel

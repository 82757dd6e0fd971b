#include "toolkit/graphics/gl_shrunk_copies.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/sdl/gl_framebuffers.h"
#include "toolkit/graphics/texture_deletion_queue.h"

namespace kestrel {

namespace {

// Copies made in the current frame, across every image.
long g_made_frame = -1;
int g_made = 0;

bool MayMakeOne(long frame) {
    if (frame != g_made_frame) {
        g_made_frame = frame;
        g_made = 0;
    }
    return g_made < GLShrunkCopies::kMadePerFrame;
}

// A texture of tw x th, nearest filtering, no mip levels, its pixels not set.
unsigned NewCopyTexture(int tw, int th) {
    const unsigned name = NewBoundTexture(GL_NEAREST, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

// Filters the source rectangle of `key` into the copy's texture: the quad
// drawn as the window would draw it at its origin, the texture alone (no
// colour, no blending), into a framebuffer object whose rows go upward
// from the picture's top row, so that the texture holds it top row first.
// Every state this touches is put back as it was, the texture combination
// as the driver's cache last sent it.
bool FilterInto(const GLShrunkCopies::Key& key, const GLShrunkCopy& copy,
                const std::function<void()>& bind_source) {
    const GLFramebufferFunctions* fb = GLFramebuffers();
    if (!fb) return false;
    GLint draw_binding = 0, read_binding = 0, matrix_mode = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_binding);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_binding);
    glGetIntegerv(GL_MATRIX_MODE, &matrix_mode);
    // Texturing on before the state is saved, so that restoring it leaves
    // the driver's cache true.
    TGLLumo2DDriver::EnableTexturing(true);
    glPushAttrib(GL_VIEWPORT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    GLuint framebuffer = 0;
    fb->genFramebuffers(1, &framebuffer);
    fb->bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    fb->framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, copy.name, 0);
    const bool complete = fb->checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete) {
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glViewport(0, 0, key.width, key.height);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, key.width, 0, key.height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        bind_source();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        const float w = float(key.width), h = float(key.height);
        glBegin(GL_QUADS);
        glTexCoord2f(key.u0, key.v0);
        glVertex2f(0, 0);
        glTexCoord2f(key.u1, key.v0);
        glVertex2f(w, 0);
        glTexCoord2f(key.u1, key.v1);
        glVertex2f(w, h);
        glTexCoord2f(key.u0, key.v1);
        glVertex2f(0, h);
        glEnd();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE,
                  TGLLumo2DDriver::StateCache().texture_replaces() == 1 ? GL_REPLACE : GL_MODULATE);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GLenum(matrix_mode));
    }
    // The caller's framebuffers back before the saved state, whose draw
    // buffer belongs to them.
    fb->bindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(draw_binding));
    fb->bindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read_binding));
    fb->deleteFramebuffers(1, &framebuffer);
    glPopAttrib();
    return complete;
}

}  // namespace

GLShrunkCopies::~GLShrunkCopies() { Clear(); }

void GLShrunkCopies::Drop(Entry& entry) {
    if (entry.copy.name != 0) GLTextureDeletionQueue().Queue(entry.copy.name, entry.seq);
    entry.copy.name = 0;
}

void GLShrunkCopies::Clear() {
    for (Entry& e : entries_) Drop(e);
    entries_.clear();
}

std::size_t GLShrunkCopies::copies() const {
    return std::size_t(std::count_if(entries_.begin(), entries_.end(),
                                     [](const Entry& e) { return e.copy.name != 0; }));
}

const GLShrunkCopy* GLShrunkCopies::Find(const Key& key, long frame,
                                         const std::function<void()>& bind_source) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.key == key; });
    if (it == entries_.end()) {
        if (entries_.size() >= std::size_t(kMaxCopies)) {
            it = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
                return a.last_frame < b.last_frame;
            });
            // Every place drawn from in this frame: the new size is not kept
            // (more sizes than places would otherwise push each other out
            // before any of them came round again).
            if (it->last_frame == frame) return nullptr;
            Drop(*it);
            *it = Entry{};
        } else {
            it = entries_.emplace(entries_.end());
        }
        it->key = key;
        it->first_frame = it->last_frame = frame;
        return nullptr;
    }
    Entry& e = *it;
    e.last_frame = frame;
    if (e.copy.name != 0) return &e.copy;
    if (e.failed || e.first_frame == frame || !MayMakeOne(frame)) return nullptr;
    ++g_made;
    e.copy.width = key.width;
    e.copy.height = key.height;
    e.copy.tex = {int(NextPow2(key.width)), int(NextPow2(key.height))};
    e.seq = GraphicsSeq();
    e.copy.name = NewCopyTexture(e.copy.tex.w, e.copy.tex.h);
    if (!FilterInto(key, e.copy, bind_source)) {
        Drop(e);
        e.failed = true;
        return nullptr;
    }
    return &e.copy;
}

TPixmapPtr ReadFiltered(const GLShrunkCopies::Key& key, const std::function<void()>& bind_source) {
    if (key.width <= 0 || key.height <= 0) return nullptr;
    GLShrunkCopy copy;
    copy.width = key.width;
    copy.height = key.height;
    copy.tex = {int(NextPow2(key.width)), int(NextPow2(key.height))};
    copy.name = NewCopyTexture(copy.tex.w, copy.tex.h);
    TPixmapPtr read;
    if (FilterInto(key, copy, bind_source)) {
        // The whole level comes back; the picture is its top-left corner,
        // top row first as FilterInto lays it.
        std::vector<unsigned char> level(std::size_t(copy.tex.w) * std::size_t(copy.tex.h) * 4);
        TGLLumo2DDriver::BindTexture(copy.name);
        // Packed rows, whatever the program set: the level fills the buffer
        // exactly.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        glPixelStorei(GL_PACK_SKIP_ROWS, 0);
        glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_PACK_LSB_FIRST, GL_FALSE);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.data());
        glPopClientAttrib();
        read = CreatePixmap(key.width, key.height, PF_RGBA8888);
        for (int y = 0; y < key.height; ++y)
            std::memcpy(read->pixels + std::size_t(y) * std::size_t(read->pitch),
                        level.data() + std::size_t(y) * std::size_t(copy.tex.w) * 4,
                        std::size_t(key.width) * 4);
    }
    GLTextureDeletionQueue().Queue(copy.name, GraphicsSeq());
    return read;
}

}  // namespace kestrel

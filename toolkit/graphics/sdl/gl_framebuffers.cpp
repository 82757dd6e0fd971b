#include "toolkit/graphics/sdl/gl_framebuffers.h"

#include <SDL.h>

namespace kestrel {

namespace {

template <typename F>
bool Fetch(F& function, const char* name) {
    function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    return function != nullptr;
}

bool Load(GLFramebufferFunctions& f) {
    // Every one fetched, so that a missing one does not hide the others.
    bool all = Fetch(f.genFramebuffers, "glGenFramebuffers");
    all &= Fetch(f.deleteFramebuffers, "glDeleteFramebuffers");
    all &= Fetch(f.bindFramebuffer, "glBindFramebuffer");
    all &= Fetch(f.genRenderbuffers, "glGenRenderbuffers");
    all &= Fetch(f.deleteRenderbuffers, "glDeleteRenderbuffers");
    all &= Fetch(f.bindRenderbuffer, "glBindRenderbuffer");
    all &= Fetch(f.renderbufferStorage, "glRenderbufferStorage");
    all &= Fetch(f.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    all &= Fetch(f.framebufferTexture2D, "glFramebufferTexture2D");
    all &= Fetch(f.checkFramebufferStatus, "glCheckFramebufferStatus");
    all &= Fetch(f.blitFramebuffer, "glBlitFramebuffer");
    return all;
}

}  // namespace

const GLFramebufferFunctions* GLFramebuffers() {
    static GLFramebufferFunctions functions;
    static bool loaded = false;
    if (!loaded) loaded = Load(functions);
    return loaded ? &functions : nullptr;
}

}  // namespace kestrel

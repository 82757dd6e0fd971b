// OpenGL's framebuffer-object functions (OpenGL 3.0, or the
// framebuffer-object extension), fetched from the context's library: the
// window layer draws a scaled picture offscreen with them, the renderer
// draws into textures. The header itself includes no SDL.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace kestrel {

struct GLFramebufferFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

// The functions, fetched the first time a call finds them all (an OpenGL
// context must be current); null while any of them is missing.
const GLFramebufferFunctions* GLFramebuffers();

}  // namespace kestrel

// A pixmap written straight into the framebuffer being drawn, through a
// texture and a framebuffer blit instead of glDrawPixels. A software
// renderer (Mesa's llvmpipe) copies such a blit row by row when the
// texture's bytes are the window's and nothing is scaled or flipped in its
// own row order: a whole 1024 x 768 picture then costs some 0.3 ms (and
// 0.2 ms to upload) where glDrawPixels shades every pixel in some 3.4 ms,
// and a textured quad or another blit in 2.3 to 3.6 (measured on llvmpipe
// 22.3 under Xvfb, one drawing thread). The window's
// rows are kept top row first there, so a picture uploaded top row first
// and blitted upside down in OpenGL's terms is such a copy; a
// PF_BGRA8888 pixmap is uploaded with its own byte order, which is the
// window's. Into a framebuffer object, or from a PF_RGBA8888 pixmap, the
// blit draws the same pixels by the renderer's slower path.
#pragma once

#include "toolkit/resources/pixmap.h"

namespace kestrel {

// Writes `pixmap` (PF_RGBA8888 or PF_BGRA8888) into the framebuffer bound
// for drawing, its top-left pixel at pixel (x, y) of a framebuffer
// `height` pixels tall counted from its top, rows going downwards, clipped
// to the framebuffer and the scissor box; no blending, colour or
// transform. Needs a current context. False, with nothing drawn, where
// framebuffer objects are missing, the format is another or the texture's
// framebuffer is incomplete. The framebuffer bindings stay as they were,
// and the bound texture is changed through the driver's cache.
bool CopyPixmapToFramebuffer(const TPixmap& pixmap, int x, int y, int height);

}  // namespace kestrel

// TImageFrame: the renderer's own form of one frame of an image (on the
// OpenGL driver, one texture).
#pragma once

#include <memory>
#include <vector>

#include "toolkit/core/object.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

// One frame of an image in the renderer's own form (an OpenGL texture).
class TImageFrame : public Object {
public:
    // Draws the source rectangle (sx, sy, sw, sh) of the frame, in pixels,
    // onto the local quad (x0, y0)-(x1, y1), transformed by the renderer's
    // matrix and offset by (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                      float sy, float sw, float sh) = 0;
    // Draws the part of the frame inside the convex polygon xy (pairs of x,
    // y in the frame's own pixels, at least three pairs): the pixel point
    // (px, py) is placed at the local point (px + ox, py + oy), transformed
    // by the renderer's matrix and offset by (tx, ty), as Draw places the
    // whole frame with x0 = ox, y0 = oy. The default raises
    // TNullMethodException (a renderer that cannot clip its frames).
    virtual void DrawPolygon(const std::vector<float>& xy, float ox, float oy, float tx, float ty);
    // Copies the window rectangle (x, y, width, height), y downward, of the
    // back buffer into the frame on the renderer itself, when the rectangle
    // has the frame's picture size. False (nothing done) when this renderer
    // or frame cannot; the default cannot.
    virtual bool CopyFromBackBuffer(int x, int y, int width, int height);
    // Draws the source rectangle (sx, sy, sw, sh) of this frame as it is
    // (untinted, opaque: SOLIDBLEND with white) onto the local quad
    // (x0, y0)-(x1, y1), placed as Draw places it, with the source rectangle
    // (0, 0, over_w, over_h) of `over` on the same quad, tinted with the
    // colour and alpha as set, combined over it as ALPHABLEND would: one
    // pass that writes each pixel once. The blend mode as set applies to
    // that pixel: SOLIDBLEND gives the picture of the two draws. False
    // (nothing drawn) when this renderer or frame cannot; the default
    // cannot.
    virtual bool DrawUnder(TImageFrame& over, float over_w, float over_h, float x0, float y0,
                           float x1, float y1, float tx, float ty, float sx, float sy, float sw,
                           float sh);
    // Takes `pixels`, new pixels of the picture this frame was made from
    // with the same image flags, into the frame in place (on OpenGL, into
    // the same texture), so that a picture rewritten every frame costs an
    // upload and no new texture. False (nothing done) when the size
    // differs, the frame belongs to graphics made before the current ones,
    // or this renderer or frame cannot; the frame is then made anew. The
    // default cannot.
    virtual bool Reload(const TPixmapPtr& pixels, int flags);
    // The frame's whole picture as this renderer draws it onto width x
    // height whole pixels with its own filters (through the mip chain when
    // it shrinks), alpha and all, read back: a new PF_RGBA8888 pixmap, rows
    // from the top. Null when this renderer or frame cannot; the default
    // cannot.
    virtual TPixmapPtr ReadDrawnAt(int width, int height);
};

// A shared renderer frame.
using TImageFramePtr = std::shared_ptr<TImageFrame>;

}  // namespace kestrel

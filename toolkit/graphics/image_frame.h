// TImageFrame: the renderer's own form of one frame of an image (on the
// OpenGL driver, one texture).
#pragma once

#include <memory>

#include "toolkit/core/object.h"

namespace kestrel {

class TImageFrame : public Object {
public:
    // Draws the source rectangle (sx, sy, sw, sh) of the frame, in pixels,
    // onto the local quad (x0, y0)-(x1, y1), transformed by the renderer's
    // matrix and offset by (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                      float sy, float sw, float sh) = 0;
};

using TImageFramePtr = std::shared_ptr<TImageFrame>;

}  // namespace kestrel

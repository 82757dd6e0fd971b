// TGLImageFrame: one frame of an image as an OpenGL texture. The texture is
// a power of two each way with the picture at its top-left corner and the
// picture's last row, column and pixel repeated into the spare area, so that
// filtering at the picture's edges never blends in foreign texels.
#pragma once

#include <memory>

#include "toolkit/graphics/image_frame.h"
#include "toolkit/graphics/texture_layout.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

class TGLImageFrame;
using TGLImageFramePtr = std::shared_ptr<TGLImageFrame>;

class TGLImageFrame : public TImageFrame {
public:
    TGLImageFrame() = default;
    TGLImageFrame(const TGLImageFrame&) = delete;
    TGLImageFrame& operator=(const TGLImageFrame&) = delete;
    // Queues the texture for deletion (see texture_deletion_queue.h).
    ~TGLImageFrame() override;

    void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
              float sw, float sh) override;

    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;  // the picture inside the texture
    float uscale = 0, vscale = 0;          // 1 / texture width, 1 / texture height
    unsigned name = 0;                     // the texture
    int seq = 0;                           // GraphicsSeq when made

    // The texture's size, for inspection.
    TexSize tex_size() const { return {int(1.0f / uscale + 0.5f), int(1.0f / vscale + 0.5f)}; }

    static TGLImageFramePtr CreateFromPixmap(const TPixmapPtr& source, int flags);
};

// The pixmap to upload for a picture of w x h in a texture of tw x th
// (w <= tw, h <= th): the source itself (as PF_RGBA8888) when the sizes
// match, else a new tw x th pixmap holding the source at (0, 0) with its
// last column at x = w, its last row at y = h and its last pixel at (w, h)
// where there is room; the rest of the spare area is transparent black.
TPixmapPtr TextureLayoutPixmap(const TPixmapPtr& source, int tw, int th);

}  // namespace kestrel

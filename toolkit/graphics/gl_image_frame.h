// TGLImageFrame: one frame of an image as an OpenGL texture. The texture is
// a power of two each way with the picture at its top-left corner and the
// picture's last row, column and pixel repeated into the spare area, so that
// filtering at the picture's edges never blends in foreign texels.
#pragma once

#include <memory>

#include "toolkit/graphics/gl_shrunk_copies.h"
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
    void DrawPolygon(const std::vector<float>& xy, float ox, float oy, float tx, float ty) override;
    // With glCopyTexSubImage2D. The copy lands bottom row first (OpenGL's
    // rows go upward), so the frame then reads its rows upside down.
    bool CopyFromBackBuffer(int x, int y, int width, int height) override;
    // With two texture units: `over` on the first, modulated by the colour,
    // and this frame on the second, mixed beneath by the first's alpha
    // (OpenGL's interpolating texture combination). Not for frames with mip
    // levels, whose filter choice follows each draw.
    bool DrawUnder(TImageFrame& over, float over_w, float over_h, float x0, float y0, float x1,
                   float y1, float tx, float ty, float sx, float sy, float sw, float sh) override;
    // Into the same texture, laid out as CreateFromPixmap lays it out (the
    // picture's edges repeated beside it); the frame reads its rows top
    // down again and its shrunk copies go.
    bool Reload(const TPixmapPtr& pixels, int flags) override;
    // Filtered into a texture of that size through a framebuffer object, as
    // a shrunk copy is made (gl_shrunk_copies.h), and read back from it.
    TPixmapPtr ReadDrawnAt(int width, int height) override;

    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;  // the picture inside the texture
    float uscale = 0, vscale = 0;          // 1 / texture width, 1 / texture height
    unsigned name = 0;                     // the texture
    int seq = 0;                           // GraphicsSeq when made
    int width = 0, height = 0;             // the picture's size in the texture
    bool mipmapped = false;
    bool bottom_up = false;                // rows stored bottom row first
    // A texture with a mip chain samples it only in draws that shrink it:
    // a draw that keeps or enlarges the texture in every direction samples
    // with the magnification filter anyway, so its minification filter is
    // switched to the plain one (same picture, far less work for a software
    // renderer). The filters and which one the texture has now:
    int min_filter_mip = 0, min_filter_plain = 0;
    bool mip_filter_on = false;
    // Copies at the sizes this texture is drawn shrunk at again and again
    // (see gl_shrunk_copies.h); made on first need.
    std::unique_ptr<GLShrunkCopies> shrunk;

    // A picture row coordinate (0 at the top edge) as a texture row
    // coordinate in texels.
    float Row(float v) const { return bottom_up ? float(height) - v : v; }

    // Binds the texture, enables texturing and sets the minification filter
    // for a draw that does (magnifies) or does not keep the texture's size.
    void Prepare(bool magnifies);
    // Draws as Draw does from a shrunk copy, when the draw shrinks the
    // texture onto a whole-pixel box and that size has a copy (made now if
    // it was drawn in an earlier frame); false when it does not.
    bool DrawShrunkCopy(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                        float sy, float sw, float sh);

    // The texture's size, for inspection.
    TexSize tex_size() const { return {int(1.0f / uscale + 0.5f), int(1.0f / vscale + 0.5f)}; }

    static TGLImageFramePtr CreateFromPixmap(const TPixmapPtr& source, int flags);
};

// A new texture name, bound through the driver's cache, clamped to its
// edges, with the given OpenGL filters; the textures queued for deletion in
// this graphics generation go first. Its pixels are for the caller to
// allocate.
unsigned NewBoundTexture(int mag_filter, int min_filter);

// The pixmap to upload for a picture of w x h in a texture of tw x th
// (w <= tw, h <= th): the source itself (as PF_RGBA8888) when the sizes
// match, else a new tw x th pixmap holding the source at (0, 0) with its
// last column at x = w, its last row at y = h and its last pixel at (w, h)
// where there is room; the rest of the spare area is transparent black.
TPixmapPtr TextureLayoutPixmap(const TPixmapPtr& source, int tw, int th);

}  // namespace kestrel

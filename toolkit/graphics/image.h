// TImage: a drawable picture with one or more frames. Each frame keeps its
// source pixels as a pixmap and, made lazily on first draw, a renderer frame
// (a texture on OpenGL) that is rebuilt when the graphics generation
// (GraphicsSeq) changes or the pixels are written.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/graphics/image_flags.h"
#include "toolkit/graphics/image_frame.h"
#include "toolkit/resources/pixmap.h"
#include "toolkit/resources/url.h"

namespace kestrel {

class TImage;
// A shared image; null is no image.
using TImagePtr = std::shared_ptr<TImage>;

// A picture to draw, of one or more frames of the same size (LoadImage,
// LoadAnimImage, CreateImage).
class TImage : public Object {
public:
    // @{
    // The size of every frame in pixels.
    int width = 0, height = 0;
    // @}
    int flags = 0;  // image flags (MASKEDIMAGE, FILTEREDIMAGE...)
    // @{
    // The mask colour (0..255 each) that becomes transparent in pixmaps
    // without alpha, with MASKEDIMAGE.
    int mask_r = 0, mask_g = 0, mask_b = 0;
    // @}
    // @{
    // The image point placed at the drawing position, in image pixels.
    float handle_x = 0, handle_y = 0;
    // @}
    std::vector<TPixmapPtr> pixmaps;     // each frame's source pixels (null until set)
    std::vector<TImageFramePtr> frames;  // each frame's renderer frame, made on first draw
    std::vector<int> seqs;  // GraphicsSeq of each frame; 0: must be (re)made

    // The renderer frame, made (again) from the pixmap when stale; nullptr
    // when the renderer cannot make one. TArrayBoundsException for an index
    // outside the frames.
    TImageFramePtr Frame(int index);
    // The frame's pixmap (a new PF_RGBA8888 one when it has none). Writing
    // makes the next draw upload it again.
    TPixmapPtr Lock(int index, int read, int write);
    // Makes pixmap the frame's pixels (masked first with MASKEDIMAGE when it
    // has no alpha); the next draw uploads it. TArrayBoundsException for an
    // index outside the frames.
    void SetPixmap(int index, TPixmapPtr pixmap);

    // A new image of frameCount empty frames of width x height pixels.
    static TImagePtr Create(int width, int height, int frameCount, int flags, int mask_r,
                            int mask_g, int mask_b);
    // `url` may be a pixmap; nullptr when no pixmap can be loaded.
    static TImagePtr Load(const Url& url, int flags, int mask_r, int mask_g, int mask_b);
    // Frames are the cells first .. first + count - 1, numbered left to right,
    // then top to bottom; nullptr when they do not fit in the picture.
    static TImagePtr LoadAnim(const Url& url, int cellWidth, int cellHeight, int first, int count,
                              int flags, int mask_r, int mask_g, int mask_b);
};

// An image of one frame from a file, stream, "incbin::" name or pixmap (any
// format the pixmap loaders read: PNG). flags -1: the automatic image flags
// (AutoImageFlags). Mid-handled when automatic mid-handling is on. Null
// when nothing can be loaded from url.
TImagePtr LoadImage(const Url& url, int flags = -1);
// An image of count frames cut from a picture of cells of cellWidth x
// cellHeight pixels, from cell first on, numbered left to right, then top to
// bottom. Null when nothing can be loaded or the cells do not fit.
TImagePtr LoadAnimImage(const Url& url, int cellWidth, int cellHeight, int first, int count,
                        int flags = -1);
// A new image of frames empty frames of width x height pixels, to fill with
// GrabImage or LockImage (DYNAMICIMAGE is added to the flags).
TImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);
// The screen pixels of the image's size at window position (x, y), without
// origin, handle or transform, become the frame's pixels.
void GrabImage(const TImagePtr& image, int x, int y, int frame = 0);
// GrabImage's copy made on the renderer: the window pixels go from the back
// buffer straight into the frame's texture, never through memory, so that a
// picture composed in the back buffer can be drawn again within the same
// frame at little cost. The frame's pixmap keeps its old pixels: the
// texture holds the copied ones until the pixmap is written or the graphics
// are made again, when the pixmap's pixels come back. A masked image, or a
// renderer that cannot copy, takes GrabImage's way instead.
void GrabImageTexture(const TImagePtr& image, int x, int y, int frame = 0);

// The image point, in image pixels, that DrawImage places at the drawing
// position (default 0, 0: the top-left corner).
void SetImageHandle(const TImagePtr& image, float x, float y);
// Sets the image's handle to its centre.
void MidHandleImage(const TImagePtr& image);
// enable 1: every image loaded or created from now on is mid-handled.
void AutoMidHandle(int enable);
// The flags of LoadImage, LoadAnimImage and CreateImage given flags -1
// (initially MASKEDIMAGE | FILTEREDIMAGE); -1 leaves them unchanged.
void AutoImageFlags(int flags);
// The automatic image flags.
int GetAutoImageFlags();
// The mask colour (0..255 each) of images loaded from now on: with
// MASKEDIMAGE, pixels of that colour in pictures without alpha become
// transparent (default black).
void SetMaskColor(int red, int green, int blue);
// The mask colour.
void GetMaskColor(int& red, int& green, int& blue);
// The image's width in pixels. Null raises TNullObjectException.
int ImageWidth(const TImagePtr& image);
// The image's height in pixels. Null raises TNullObjectException.
int ImageHeight(const TImagePtr& image);
// The frame's pixels as a pixmap to read (read 1) and change (write 1): a
// change is uploaded at the next draw.
TPixmapPtr LockImage(const TImagePtr& image, int frame = 0, int read = 1, int write = 1);
// Ends a LockImage (nothing more is needed; kept for symmetry).
void UnlockImage(const TImagePtr& image, int frame = 0);
// The frame's picture as DrawImage draws it onto width x height whole
// pixels, unrotated, with its own filters (through its mip chain when it
// shrinks), alpha and all: a new PF_RGBA8888 pixmap, rows from the top. For
// a program that mixes a picture drawn at one size again and again into a
// picture of its own on the CPU (pieces shrunk to their cells, laid into a
// backdrop), the same pixels the renderer would blend. Null when width or
// height is not positive, or the renderer cannot read its drawing back; no
// graphics open raises TNullObjectException.
TPixmapPtr DrawnImagePixmap(const TImagePtr& image, int width, int height, int frame = 0);

// Draws the frame with the image's handle at (x, y), with the current
// colour, alpha, blend, scale, rotation and origin. Null raises
// TNullObjectException, as for every function here that takes an image; no
// graphics open raises it too.
void DrawImage(const TImagePtr& image, float x, float y, int frame = 0);
// DrawImage stretched to w x h (before the scale).
void DrawImageRect(const TImagePtr& image, float x, float y, float w, float h, int frame = 0);
// The part sx, sy, sw, sh (image pixels) of the frame drawn stretched to
// w x h at (x, y), with the point hx, hy of that part at (x, y).
void DrawSubImageRect(const TImagePtr& image, float x, float y, float w, float h, float sx,
                      float sy, float sw, float sh, float hx = 0, float hy = 0, int frame = 0);
// Draws the part of the frame inside a convex polygon, given as pairs of
// x, y in the image's own pixels, placed, transformed and coloured as
// DrawImage places the whole image. Where the polygon leaves out only
// pixels that draw nothing (transparent ones under ALPHABLEND, black ones
// under LIGHTBLEND, with a texel of margin for the filtering) the picture is
// DrawImage's for fewer pixels. Ignored unless there are at least three
// pairs and no odd value.
void DrawImagePolygon(const TImagePtr& image, float x, float y, const std::vector<float>& xy,
                      int frame = 0);
// An image for DrawSubImageRectUnder to draw over its picture: the frame
// with the image's handle at (x, y), unscaled and unrotated, with
// ALPHABLEND and the colour (red, green, blue) and alpha given.
struct ImageOver {
    TImagePtr image;  // the image drawn
    // @{
    // Where the image's handle goes.
    float x = 0, y = 0;
    // @}
    int frame = 0;  // the frame drawn
    // @{
    // The colour the image is drawn with, 0..255 each.
    int red = 255, green = 255, blue = 255;
    // @}
    float alpha = 1.0f;  // the alpha it is drawn with
};
// Draws what DrawSubImageRect(image, x, y, w, h, sx, sy, sw, sh) with
// SOLIDBLEND, white and opaque, then DrawImage of each of `over` would
// leave (each colour channel within a level), with fewer pixels filled:
// where an image of `over` lies, the renderer reads both pictures and
// writes each pixel once, instead of filling it twice, once blended. For a
// backdrop under panels, on a software renderer. The images of `over` must
// be inside the rectangle and apart from one another, and no scale or
// rotation set; otherwise, or where the renderer cannot, the draws are made
// one after another. The colour, alpha and blend are left as they were.
void DrawSubImageRectUnder(const TImagePtr& image, float x, float y, float w, float h, float sx,
                           float sy, float sw, float sh, const std::vector<ImageOver>& over,
                           int frame = 0);
// Covers the viewport with untransformed copies of the frame.
void TileImage(const TImagePtr& image, float x = 0, float y = 0, int frame = 0);

}  // namespace kestrel

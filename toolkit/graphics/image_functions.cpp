// The image module functions: loading with the automatic flags and
// mid-handle, grabbing, handles, the mask colour and drawing.
#include <cmath>

#include "toolkit/core/error.h"
#include "toolkit/graphics/current_drawing.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel {

namespace {

struct ImageSettings {
    int mask_r = 0, mask_g = 0, mask_b = 0;
    int auto_midhandle = 0;
    int auto_flags = MASKEDIMAGE | FILTEREDIMAGE;
};

ImageSettings& Settings() {
    static ImageSettings s;
    return s;
}

int FlagsOrAuto(int flags) { return flags == -1 ? Settings().auto_flags : flags; }

TImagePtr AutoHandled(TImagePtr image) {
    if (image && Settings().auto_midhandle) MidHandleImage(image);
    return image;
}

// An image function given Null: most often a LoadImage that failed.
constexpr const char* kNullImage =
    "the image is Null: check what LoadImage returned (LastLoadError() says why)";

}  // namespace

TImagePtr LoadImage(const Url& url, int flags) {
    const ImageSettings& s = Settings();
    return AutoHandled(TImage::Load(url, FlagsOrAuto(flags), s.mask_r, s.mask_g, s.mask_b));
}

TImagePtr LoadAnimImage(const Url& url, int cellWidth, int cellHeight, int first, int count,
                        int flags) {
    const ImageSettings& s = Settings();
    return AutoHandled(TImage::LoadAnim(url, cellWidth, cellHeight, first, count,
                                        FlagsOrAuto(flags), s.mask_r, s.mask_g, s.mask_b));
}

TImagePtr CreateImage(int width, int height, int frames, int flags) {
    const ImageSettings& s = Settings();
    return AutoHandled(TImage::Create(width, height, frames, FlagsOrAuto(flags) | DYNAMICIMAGE,
                                      s.mask_r, s.mask_g, s.mask_b));
}

void GrabImage(const TImagePtr& image, int x, int y, int frame) {
    NonNull(image, kNullImage);
    TPixmapPtr pixmap = DrawingDriver().GrabPixmap(x, y, image->width, image->height);
    if (image->flags & MASKEDIMAGE) {
        const ImageSettings& s = Settings();
        pixmap = MaskPixmap(pixmap, s.mask_r, s.mask_g, s.mask_b);
    }
    image->SetPixmap(frame, pixmap);
}

void GrabImageTexture(const TImagePtr& image, int x, int y, int frame) {
    NonNull(image, kNullImage);
    if (!(image->flags & MASKEDIMAGE)) {
        const TImageFramePtr f = image->Frame(frame);
        if (f && f->CopyFromBackBuffer(x, y, image->width, image->height)) return;
    }
    GrabImage(image, x, y, frame);
}

TPixmapPtr DrawnImagePixmap(const TImagePtr& image, int width, int height, int frame) {
    NonNull(image, kNullImage);
    DrawingState();
    if (width <= 0 || height <= 0) return nullptr;
    const TImageFramePtr f = image->Frame(frame);
    return f ? f->ReadDrawnAt(width, height) : nullptr;
}

void SetImageHandle(const TImagePtr& image, float x, float y) {
    NonNull(image, kNullImage);
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const TImagePtr& image) {
    NonNull(image, kNullImage);
    image->handle_x = float(image->width) * 0.5f;
    image->handle_y = float(image->height) * 0.5f;
}

void AutoMidHandle(int enable) { Settings().auto_midhandle = enable; }

void AutoImageFlags(int flags) {
    if (flags != -1) Settings().auto_flags = flags;
}

int GetAutoImageFlags() { return Settings().auto_flags; }

void SetMaskColor(int red, int green, int blue) {
    ImageSettings& s = Settings();
    s.mask_r = red;
    s.mask_g = green;
    s.mask_b = blue;
}

void GetMaskColor(int& red, int& green, int& blue) {
    const ImageSettings& s = Settings();
    red = s.mask_r;
    green = s.mask_g;
    blue = s.mask_b;
}

int ImageWidth(const TImagePtr& image) { return NonNull(image, kNullImage)->width; }
int ImageHeight(const TImagePtr& image) { return NonNull(image, kNullImage)->height; }

TPixmapPtr LockImage(const TImagePtr& image, int frame, int read, int write) {
    return NonNull(image, kNullImage)->Lock(frame, read, write);
}

void UnlockImage(const TImagePtr& image, int /*frame*/) { NonNull(image, kNullImage); }

void DrawImage(const TImagePtr& image, float x, float y, int frame) {
    NonNull(image, kNullImage);
    const TLumo2DGraphics& g = DrawingState();
    const TImageFramePtr f = image->Frame(frame);
    if (!f) return;
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    const float w = float(image->width), h = float(image->height);
    f->Draw(x0, y0, x0 + w, y0 + h, x + g.origin_x, y + g.origin_y, 0, 0, w, h);
}

void DrawImageRect(const TImagePtr& image, float x, float y, float w, float h, int frame) {
    NonNull(image, kNullImage);
    const TLumo2DGraphics& g = DrawingState();
    const TImageFramePtr f = image->Frame(frame);
    if (!f) return;
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    f->Draw(x0, y0, x0 + w, y0 + h, x + g.origin_x, y + g.origin_y, 0, 0, float(image->width),
            float(image->height));
}

void DrawSubImageRect(const TImagePtr& image, float x, float y, float w, float h, float sx,
                      float sy, float sw, float sh, float hx, float hy, int frame) {
    NonNull(image, kNullImage);
    const TLumo2DGraphics& g = DrawingState();
    const TImageFramePtr f = image->Frame(frame);
    if (!f) return;
    const float x0 = -hx * w / sw, y0 = -hy * h / sh;
    f->Draw(x0, y0, x0 + w, y0 + h, x + g.origin_x, y + g.origin_y, sx, sy, sw, sh);
}

void DrawImagePolygon(const TImagePtr& image, float x, float y, const std::vector<float>& xy,
                      int frame) {
    NonNull(image, kNullImage);
    const TLumo2DGraphics& g = DrawingState();
    if (xy.size() < 6 || (xy.size() & 1)) return;
    const TImageFramePtr f = image->Frame(frame);
    if (!f) return;
    f->DrawPolygon(xy, -image->handle_x, -image->handle_y, x + g.origin_x, y + g.origin_y);
}

namespace {

// An image of DrawSubImageRectUnder's `over` as it will be drawn: its frame
// and where it lands, in window coordinates of the drawing units.
struct PlacedOver {
    const ImageOver* over;
    TImageFramePtr frame;
    Box box;
};

void DrawOverImage(const ImageOver& o) {
    SetBlend(ALPHABLEND);
    SetColor(o.red, o.green, o.blue);
    SetAlpha(o.alpha);
    DrawImage(o.image, o.x, o.y, o.frame);
}

}  // namespace

void DrawSubImageRectUnder(const TImagePtr& image, float x, float y, float w, float h, float sx,
                           float sy, float sw, float sh, const std::vector<ImageOver>& over,
                           int frame) {
    NonNull(image, kNullImage);
    TLumo2DGraphics& g = DrawingState();
    for (const ImageOver& o : over) NonNull(o.image, kNullImage);
    const TImageFramePtr f = image->Frame(frame);
    if (!f) return;
    const int blend = g.blend_mode;
    const int red = g.color_red, green = g.color_green, blue = g.color_blue;
    const float alpha = g.color_alpha;
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);

    // With no scale or rotation a local point lands at itself plus the
    // drawing position, so every quad below is given in window units with
    // no offset: a strip and an image beside it share the very same edge
    // values, and the renderer fills each pixel between them once.
    const bool plain = g.tform_ix == 1 && g.tform_iy == 0 && g.tform_jx == 0 && g.tform_jy == 1;
    const float px = x + g.origin_x, py = y + g.origin_y;
    const Box whole{px, py, w + px, h + py};
    std::vector<PlacedOver> placed;
    bool apart = plain && w > 0 && h > 0 && sw != 0 && sh != 0;
    for (const ImageOver& o : over) {
        const float ox = o.x + g.origin_x, oy = o.y + g.origin_y;
        const float x0 = -o.image->handle_x, y0 = -o.image->handle_y;
        const Box box{x0 + ox, y0 + oy, (x0 + float(o.image->width)) + ox,
                      (y0 + float(o.image->height)) + oy};
        TImageFramePtr of = o.image->Frame(o.frame);
        apart = apart && of && BoxInside(box, whole);
        for (const PlacedOver& p : placed) apart = apart && !BoxesOverlap(p.box, box);
        placed.push_back({&o, std::move(of), box});
    }
    if (!apart) {
        DrawSubImageRect(image, x, y, w, h, sx, sy, sw, sh, 0, 0, frame);
        for (const ImageOver& o : over) DrawOverImage(o);
    } else {
        const auto src_x = [&](float wx) { return sx + (wx - whole.x0) * (sw / w); };
        const auto src_y = [&](float wy) { return sy + (wy - whole.y0) * (sh / h); };
        std::vector<Box> combined;
        std::vector<const ImageOver*> left;
        for (const PlacedOver& p : placed) {
            const Box& b = p.box;
            SetColor(p.over->red, p.over->green, p.over->blue);
            SetAlpha(p.over->alpha);
            if (f->DrawUnder(*p.frame, float(p.over->image->width), float(p.over->image->height),
                             b.x0, b.y0, b.x1, b.y1, 0, 0, src_x(b.x0), src_y(b.y0),
                             src_x(b.x1) - src_x(b.x0), src_y(b.y1) - src_y(b.y0)))
                combined.push_back(b);
            else
                left.push_back(p.over);
        }
        SetColor(255, 255, 255);
        SetAlpha(1.0f);
        for (const Box& b : BoxMinusBoxes(whole, combined))
            f->Draw(b.x0, b.y0, b.x1, b.y1, 0, 0, src_x(b.x0), src_y(b.y0),
                    src_x(b.x1) - src_x(b.x0), src_y(b.y1) - src_y(b.y0));
        for (const ImageOver* o : left) DrawOverImage(*o);
    }
    SetBlend(blend);
    SetColor(red, green, blue);
    SetAlpha(alpha);
}

void TileImage(const TImagePtr& image, float x, float y, int frame) {
    NonNull(image, kNullImage);
    const TLumo2DGraphics& g = DrawingState();
    const TImageFramePtr f = image->Frame(frame);
    if (!f || image->width <= 0 || image->height <= 0) return;
    TLumo2DDriver& d = DrawingDriver();
    const float w = float(image->width), h = float(image->height);
    // The tile grid passes through the image's top-left corner as drawn at
    // (x, y); the first tile starts at or before the viewport's corner.
    const float px = x + g.origin_x - image->handle_x;
    const float py = y + g.origin_y - image->handle_y;
    const float left = float(g.viewport_x), top = float(g.viewport_y);
    const float right = left + float(g.viewport_w), bottom = top + float(g.viewport_h);
    const float startx = px - std::ceil((px - left) / w) * w;
    const float starty = py - std::ceil((py - top) / h) * h;
    d.SetTransform(1, 0, 0, 1);
    for (float ty = starty; ty < bottom; ty += h)
        for (float tx = startx; tx < right; tx += w) f->Draw(0, 0, w, h, tx, ty, 0, 0, w, h);
    d.SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

}  // namespace kestrel

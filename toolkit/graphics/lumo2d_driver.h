// TLumo2DDriver: the 2D renderer driver interface. A renderer driver is a
// graphics driver (it makes and flips graphics) that also draws. Shapes get
// local corner coordinates (x0, y0, x1, y1) that the driver transforms by
// its matrix and then offsets by (tx, ty).
#pragma once

#include <memory>
#include <vector>

#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image_frame.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

class TLumo2DDriver : public TGraphicsDriver {
public:
    virtual TImageFramePtr CreateFrameFromPixmap(const TPixmapPtr& pixmap, int flags) = 0;
    virtual void SetBlend(int mode) = 0;
    // Values out of range are clamped here, never in the state record.
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int red, int green, int blue) = 0;
    virtual void SetClsColor(int red, int green, int blue) = 0;
    // In pixels, y downward.
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    virtual void SetLineWidth(float width) = 0;
    virtual void Cls() = 0;
    virtual void Plot(float x, float y) = 0;
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // Pairs of x, y; ignored unless there are at least 3 pairs and no odd value.
    virtual void DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y,
                          float origin_x, float origin_y) = 0;
    // Window pixels, top-left at (x, y), no transform.
    virtual void DrawPixmap(const TPixmapPtr& pixmap, int x, int y) = 0;
    // The window rectangle (x, y, width, height) as PF_RGBA8888, row 0 at the top.
    virtual TPixmapPtr GrabPixmap(int x, int y, int width, int height) = 0;
    // The virtual resolution: the drawing coordinates that span the graphics.
    virtual void SetResolution(float width, float height) = 0;
    // Hands the drawing sent so far to the renderer to work on while more
    // is sent; the picture is the same. The default does nothing.
    virtual void SubmitDrawing() {}
};

using TLumo2DDriverPtr = std::shared_ptr<TLumo2DDriver>;

}  // namespace kestrel

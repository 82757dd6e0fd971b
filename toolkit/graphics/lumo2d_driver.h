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

// A 2D renderer driver: draws what the renderer's module functions ask, in
// local coordinates mapped through the matrix of SetTransform and offset
// by the drawing position (tx, ty).
class TLumo2DDriver : public TGraphicsDriver {
public:
    // The renderer's frame of the pixmap (image flags in flags); nullptr
    // when it cannot make one.
    virtual TImageFramePtr CreateFrameFromPixmap(const TPixmapPtr& pixmap, int flags) = 0;
    // The blend mode (SOLIDBLEND...).
    virtual void SetBlend(int mode) = 0;
    // Values out of range are clamped here, never in the state record.
    virtual void SetAlpha(float alpha) = 0;
    // The drawing colour, 0..255 each.
    virtual void SetColor(int red, int green, int blue) = 0;
    // The clear colour, 0..255 each.
    virtual void SetClsColor(int red, int green, int blue) = 0;
    // In pixels, y downward.
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    // The matrix: local (u, v) lands at (u * ix + v * iy, u * jx + v * jy).
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    // The line width in pixels.
    virtual void SetLineWidth(float width) = 0;
    // Clears the viewport to the clear colour.
    virtual void Cls() = 0;
    // One pixel at (x, y), untransformed.
    virtual void Plot(float x, float y) = 0;
    // A line between the local points, transformed and offset by (tx, ty).
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // A filled local rectangle, transformed and offset by (tx, ty).
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // A filled ellipse in the local box, transformed and offset by (tx, ty).
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
    // Returns once the renderer has filled everything drawn so far. The
    // default returns at once.
    virtual void FinishDrawing() {}
};

// A shared renderer driver.
using TLumo2DDriverPtr = std::shared_ptr<TLumo2DDriver>;

}  // namespace kestrel

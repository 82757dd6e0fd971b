#include "toolkit/graphics/lumo2d_functions.h"

#include "toolkit/core/error.h"
#include "toolkit/graphics/current_drawing.h"
#include "toolkit/graphics/lumo2d_math.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {

namespace {

void UpdateTransform(TLumo2DGraphics& g) {
    const Matrix2 m = TransformMatrix(g.tform_rot, g.tform_scale_x, g.tform_scale_y);
    g.tform_ix = m.ix;
    g.tform_iy = m.iy;
    g.tform_jx = m.jx;
    g.tform_jy = m.jy;
    DrawingDriver().SetTransform(m.ix, m.iy, m.jx, m.jy);
}

}  // namespace

void Cls() { DrawingDriver().Cls(); }

void SetClsColor(int red, int green, int blue) {
    TLumo2DGraphics& g = DrawingState();
    g.clscolor_red = red;
    g.clscolor_green = green;
    g.clscolor_blue = blue;
    DrawingDriver().SetClsColor(red, green, blue);
}

void GetClsColor(int& red, int& green, int& blue) {
    const TLumo2DGraphics& g = DrawingState();
    red = g.clscolor_red;
    green = g.clscolor_green;
    blue = g.clscolor_blue;
}

void SetColor(int red, int green, int blue) {
    TLumo2DGraphics& g = DrawingState();
    g.color_red = red;
    g.color_green = green;
    g.color_blue = blue;
    DrawingDriver().SetColor(red, green, blue);
}

void GetColor(int& red, int& green, int& blue) {
    const TLumo2DGraphics& g = DrawingState();
    red = g.color_red;
    green = g.color_green;
    blue = g.color_blue;
}

void SetAlpha(float alpha) {
    DrawingState().color_alpha = alpha;
    DrawingDriver().SetAlpha(alpha);
}

float GetAlpha() { return DrawingState().color_alpha; }

void SetBlend(int mode) {
    DrawingState().blend_mode = mode;
    DrawingDriver().SetBlend(mode);
}

int GetBlend() { return DrawingState().blend_mode; }

void SetLineWidth(float width) {
    DrawingState().line_width = width;
    DrawingDriver().SetLineWidth(width);
}

float GetLineWidth() { return DrawingState().line_width; }

void SetOrigin(float x, float y) {
    TLumo2DGraphics& g = DrawingState();
    g.origin_x = x;
    g.origin_y = y;
}

void GetOrigin(float& x, float& y) {
    const TLumo2DGraphics& g = DrawingState();
    x = g.origin_x;
    y = g.origin_y;
}

void SetHandle(float x, float y) {
    TLumo2DGraphics& g = DrawingState();
    g.handle_x = -x;
    g.handle_y = -y;
}

void GetHandle(float& x, float& y) {
    const TLumo2DGraphics& g = DrawingState();
    x = -g.handle_x;
    y = -g.handle_y;
}

void SetRotation(float angle) {
    TLumo2DGraphics& g = DrawingState();
    g.tform_rot = angle;
    UpdateTransform(g);
}

float GetRotation() { return DrawingState().tform_rot; }

void SetScale(float scale_x, float scale_y) {
    TLumo2DGraphics& g = DrawingState();
    g.tform_scale_x = scale_x;
    g.tform_scale_y = scale_y;
    UpdateTransform(g);
}

void GetScale(float& scale_x, float& scale_y) {
    const TLumo2DGraphics& g = DrawingState();
    scale_x = g.tform_scale_x;
    scale_y = g.tform_scale_y;
}

void SetTransform(float angle, float scale_x, float scale_y) {
    TLumo2DGraphics& g = DrawingState();
    g.tform_rot = angle;
    g.tform_scale_x = scale_x;
    g.tform_scale_y = scale_y;
    UpdateTransform(g);
}

void SetViewport(int x, int y, int width, int height) {
    TLumo2DGraphics& g = DrawingState();
    g.viewport_x = x;
    g.viewport_y = y;
    g.viewport_w = width;
    g.viewport_h = height;
    const PixelRect p =
        ViewportToPixels(x, y, width, height, g.vres_mousexscale, g.vres_mouseyscale);
    DrawingDriver().SetViewport(p.x, p.y, p.w, p.h);
}

void GetViewport(int& x, int& y, int& width, int& height) {
    const TLumo2DGraphics& g = DrawingState();
    x = g.viewport_x;
    y = g.viewport_y;
    width = g.viewport_w;
    height = g.viewport_h;
}

void SetVirtualResolution(float width, float height) {
    TLumo2DGraphics& g = DrawingState();
    g.vres_width = width;
    g.vres_height = height;
    g.vres_mousexscale = width / float(GraphicsWidth());
    g.vres_mouseyscale = height / float(GraphicsHeight());
    DrawingDriver().SetResolution(width, height);
}

float VirtualResolutionWidth() { return DrawingState().vres_width; }
float VirtualResolutionHeight() { return DrawingState().vres_height; }

float VirtualMouseX() { return float(MouseX()) * DrawingState().vres_mousexscale; }
float VirtualMouseY() { return float(MouseY()) * DrawingState().vres_mouseyscale; }
float VirtualMouseXSpeed() { return float(MouseXSpeed()) * DrawingState().vres_mousexscale; }
float VirtualMouseYSpeed() { return float(MouseYSpeed()) * DrawingState().vres_mouseyscale; }

void MoveVirtualMouse(float x, float y) {
    const TLumo2DGraphics& g = DrawingState();
    MoveMouse(int(x / g.vres_mousexscale), int(y / g.vres_mouseyscale));
}

void Plot(float x, float y) {
    const TLumo2DGraphics& g = DrawingState();
    DrawingDriver().Plot(x + g.origin_x, y + g.origin_y);
}

void DrawRect(float x, float y, float width, float height) {
    const TLumo2DGraphics& g = DrawingState();
    DrawingDriver().DrawRect(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                   x + g.origin_x, y + g.origin_y);
}

void DrawLine(float x, float y, float x2, float y2, int lastPixel) {
    const TLumo2DGraphics& g = DrawingState();
    const float tx = x + g.origin_x, ty = y + g.origin_y;
    const float ex = g.handle_x + x2 - x, ey = g.handle_y + y2 - y;
    DrawingDriver().DrawLine(g.handle_x, g.handle_y, ex, ey, tx, ty);
    if (lastPixel != 0) {
        const Matrix2 m{g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy};
        const Point2 p = TransformPoint(m, ex, ey, tx, ty);
        DrawingDriver().Plot(p.x, p.y);
    }
}

void DrawOval(float x, float y, float width, float height) {
    const TLumo2DGraphics& g = DrawingState();
    DrawingDriver().DrawOval(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                   x + g.origin_x, y + g.origin_y);
}

void DrawPoly(const std::vector<float>& xy) {
    const TLumo2DGraphics& g = DrawingState();
    DrawingDriver().DrawPoly(xy, g.handle_x, g.handle_y, g.origin_x, g.origin_y);
}

void DrawPixmap(const TPixmapPtr& pixmap, int x, int y) { DrawingDriver().DrawPixmap(NonNull(pixmap), x, y); }

void SubmitDrawing() { DrawingDriver().SubmitDrawing(); }

void FinishDrawing() { DrawingDriver().FinishDrawing(); }

TPixmapPtr GrabPixmap(int x, int y, int width, int height) {
    return DrawingDriver().GrabPixmap(x, y, width, height);
}

}  // namespace kestrel

// TGLLumo2DDriver: the 2D renderer driver over OpenGL immediate mode. It
// makes graphics through the OpenGL graphics driver and wraps them in state
// records; it keeps a cache of the OpenGL state it sent (blend mode, bound
// texture, texture enabling) and sends those only when they change.
#pragma once

#include <memory>
#include <string>

#include "toolkit/graphics/gl_state_cache.h"
#include "toolkit/graphics/lumo2d_driver.h"

namespace kestrel {

class TGLLumo2DDriver;
using TGLLumo2DDriverPtr = std::shared_ptr<TGLLumo2DDriver>;

class TGLLumo2DDriver : public TLumo2DDriver {
public:
    std::string ToString() const override { return "OpenGL"; }

    std::vector<TGraphicsModePtr> GraphicsModes() override;
    TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags) override;
    TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    void SetGraphics(const TGraphicsPtr& graphics) override;
    void Flip(int sync) override;

    TImageFramePtr CreateFrameFromPixmap(const TPixmapPtr& pixmap, int flags) override;
    void SetBlend(int mode) override;
    void SetAlpha(float alpha) override;
    void SetColor(int red, int green, int blue) override;
    void SetClsColor(int red, int green, int blue) override;
    void SetViewport(int x, int y, int width, int height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y, float origin_x,
                  float origin_y) override;
    void DrawPixmap(const TPixmapPtr& pixmap, int x, int y) override;
    TPixmapPtr GrabPixmap(int x, int y, int width, int height) override;
    void SetResolution(float width, float height) override;
    // glFlush: a software renderer starts filling pixels on its own
    // threads while the caller goes on sending.
    void SubmitDrawing() override;
    // glFinish.
    void FinishDrawing() override;

    // A fresh context: cache reset, texturing off, projection for the
    // graphics' pixel size, identity model-view, full viewport.
    void ResetGLContext(const TGraphicsPtr& graphics);

    // The driver when OpenGL graphics exist, else nullptr.
    static TGLLumo2DDriverPtr Create();

    // Binding and texture enabling through the cache (used by image frames).
    static void BindTexture(unsigned name);
    static void EnableTexturing(bool enabled);
    // Before a textured draw: the texture alone where the colour is opaque
    // white and the draw samples one texture level (the same picture as
    // modulating by white: Mesa's software renderer then samples the same
    // way; with mip levels it does not), else modulated.
    static void CombineTextureWithColor(bool one_level);
    // The cache, for inspection: its counters tell how many state changes
    // were sent.
    static const GLStateCache& StateCache();
    // Swaps made through this driver: the number of the frame being drawn.
    static long Frames();
    // Deletes texture names (keeping the cache in step).
    static void DeleteTextures(const std::vector<unsigned>& names);
};

// The one OpenGL renderer driver, made on first use (nullptr when OpenGL
// graphics are not available).
TGLLumo2DDriverPtr GLLumo2DDriver();

}  // namespace kestrel

#include "toolkit/graphics/gl_lumo2d_driver.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/gl_image_frame.h"
#include "toolkit/graphics/gl_pixmap_copy.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel {

namespace {

GLStateCache& Cache() {
    static GLStateCache cache;
    return cache;
}

void SendBlendState(int mode) {
    switch (mode) {
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case ALPHABLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_ALPHA_TEST);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glDisable(GL_ALPHA_TEST);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glDisable(GL_ALPHA_TEST);
            break;
        default:  // SOLIDBLEND and anything unknown
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
    }
}

void Vertex(float u, float v, float tx, float ty) {
    const Point2 p = TransformPoint(Cache().matrix, u, v, tx, ty);
    glVertex2f(p.x, p.y);
}

void Project(double width, double height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

// --- graphics-level operations ----------------------------------------------

std::vector<TGraphicsModePtr> TGLLumo2DDriver::GraphicsModes() {
    return GLGraphicsDriver()->GraphicsModes();
}

TGraphicsPtr TGLLumo2DDriver::AttachGraphics(std::intptr_t widget, int flags) {
    TGraphicsPtr g = GLGraphicsDriver()->AttachGraphics(widget, flags);
    if (!g) return nullptr;
    return TLumo2DGraphics::Create(g, std::static_pointer_cast<TGLLumo2DDriver>(shared_from_this()));
}

TGraphicsPtr TGLLumo2DDriver::CreateGraphics(int width, int height, int depth, int hertz,
                                             int flags) {
    TGraphicsPtr g = GLGraphicsDriver()->CreateGraphics(width, height, depth, hertz, flags);
    if (!g) return nullptr;
    return TLumo2DGraphics::Create(g, std::static_pointer_cast<TGLLumo2DDriver>(shared_from_this()));
}

void TGLLumo2DDriver::SetGraphics(const TGraphicsPtr& graphics) {
    if (!graphics) {
        TLumo2DGraphics::ClearCurrent();
        GLGraphicsDriver()->SetGraphics(nullptr);
        return;
    }
    auto record = std::dynamic_pointer_cast<TLumo2DGraphics>(graphics);
    NonNull(record);
    GLGraphicsDriver()->SetGraphics(record->_graphics);
    ResetGLContext(record);
    record->MakeCurrent();
}

namespace {
long g_frames = 0;
}  // namespace

void TGLLumo2DDriver::Flip(int sync) {
    GLGraphicsDriver()->Flip(sync);
    ++g_frames;
}

long TGLLumo2DDriver::Frames() { return g_frames; }

void TGLLumo2DDriver::ResetGLContext(const TGraphicsPtr& graphics) {
    int w = 0, h = 0, d, hz, fl;
    NonNull(graphics)->GetSettings(w, h, d, hz, fl);
    Cache().Reset();
    Cache().pixels_per_unit_x = Cache().pixels_per_unit_y = 1;
    glDisable(GL_TEXTURE_2D);
    Project(w, h);
    glLoadIdentity();
    glViewport(0, 0, w, h);
}

TGLLumo2DDriverPtr TGLLumo2DDriver::Create() {
    if (!GLGraphicsDriver()) return nullptr;
    return std::make_shared<TGLLumo2DDriver>();
}

TGLLumo2DDriverPtr GLLumo2DDriver() {
    static TGLLumo2DDriverPtr driver = TGLLumo2DDriver::Create();
    return driver;
}

// --- cached state -------------------------------------------------------------

void TGLLumo2DDriver::BindTexture(unsigned name) {
    if (Cache().ChangeTexture(name)) glBindTexture(GL_TEXTURE_2D, name);
}

void TGLLumo2DDriver::EnableTexturing(bool enabled) {
    if (!Cache().ChangeTextureEnabled(enabled)) return;
    if (enabled)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
}

void TGLLumo2DDriver::CombineTextureWithColor(bool one_level) {
    const bool replaces = one_level && Cache().color_is_opaque_white();
    if (Cache().ChangeTextureReplaces(replaces))
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, replaces ? GL_REPLACE : GL_MODULATE);
}

const GLStateCache& TGLLumo2DDriver::StateCache() { return Cache(); }

void TGLLumo2DDriver::DeleteTextures(const std::vector<unsigned>& names) {
    if (names.empty()) return;
    for (unsigned n : names) Cache().ForgetTexture(n);
    glDeleteTextures(GLsizei(names.size()), names.data());
}

void TGLLumo2DDriver::SetBlend(int mode) {
    if (Cache().ChangeBlend(mode)) SendBlendState(mode);
}

void TGLLumo2DDriver::SetAlpha(float alpha) {
    Cache().color[3] = AlphaByte(alpha);
    glColor4ubv(Cache().color.data());
}

void TGLLumo2DDriver::SetColor(int red, int green, int blue) {
    auto& c = Cache().color;
    c[0] = ColorByte(red);
    c[1] = ColorByte(green);
    c[2] = ColorByte(blue);
    glColor4ubv(c.data());
}

void TGLLumo2DDriver::SetClsColor(int red, int green, int blue) {
    glClearColor(ColorByte(red) / 255.0f, ColorByte(green) / 255.0f, ColorByte(blue) / 255.0f, 1.0f);
}

void TGLLumo2DDriver::SetViewport(int x, int y, int width, int height) {
    const ScissorState s = ScissorFor({x, y, width, height}, GraphicsWidth(), GraphicsHeight());
    if (!s.enabled) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(s.box.x, s.box.y, s.box.w < 0 ? 0 : s.box.w, s.box.h < 0 ? 0 : s.box.h);
}

void TGLLumo2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
    Cache().matrix = {ix, iy, jx, jy};
}

void TGLLumo2DDriver::SetLineWidth(float width) { glLineWidth(width); }

void TGLLumo2DDriver::SetResolution(float width, float height) {
    Project(width, height);
    const int gw = GraphicsWidth(), gh = GraphicsHeight();
    Cache().pixels_per_unit_x = width > 0 && gw > 0 ? float(gw) / width : 1;
    Cache().pixels_per_unit_y = height > 0 && gh > 0 ? float(gh) / height : 1;
}

void TGLLumo2DDriver::SubmitDrawing() { glFlush(); }

void TGLLumo2DDriver::FinishDrawing() { glFinish(); }

// --- drawing ------------------------------------------------------------------

void TGLLumo2DDriver::Cls() { glClear(GL_COLOR_BUFFER_BIT); }

void TGLLumo2DDriver::Plot(float x, float y) {
    EnableTexturing(false);
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void TGLLumo2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    EnableTexturing(false);
    const Matrix2& m = Cache().matrix;
    const Point2 a = TransformPoint(m, x0, y0, tx, ty);
    const Point2 b = TransformPoint(m, x1, y1, tx, ty);
    glBegin(GL_LINES);
    glVertex2f(a.x + 0.5f, a.y + 0.5f);
    glVertex2f(b.x + 0.5f, b.y + 0.5f);
    glEnd();
}

void TGLLumo2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    EnableTexturing(false);
    glBegin(GL_QUADS);
    Vertex(x0, y0, tx, ty);
    Vertex(x1, y0, tx, ty);
    Vertex(x1, y1, tx, ty);
    Vertex(x0, y1, tx, ty);
    glEnd();
}

void TGLLumo2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    EnableTexturing(false);
    const float rx = (x1 - x0) * 0.5f, ry = (y1 - y0) * 0.5f;
    const float cx = x0 + rx, cy = y0 + ry;
    const int segs = OvalSegments(rx, ry);
    std::vector<Point2> outline(static_cast<std::size_t>(segs));
    for (int i = 0; i < segs; ++i) {
        const double th = double(i) * 360.0 / segs * std::numbers::pi / 180.0;
        outline[i] = TransformPoint(Cache().matrix, cx + float(std::cos(th)) * rx,
                                    cy - float(std::sin(th)) * ry, tx, ty);
    }
    // The same convex polygon as a fan would give, split into triangles that
    // a software rasteriser fills quickly (see ConvexPolygonTriangles).
    glBegin(GL_TRIANGLES);
    for (const TriangleIndices& t : ConvexPolygonTriangles(segs))
        for (const int k : {t.a, t.b, t.c}) glVertex2f(outline[k].x, outline[k].y);
    glEnd();
}

void TGLLumo2DDriver::DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y,
                               float origin_x, float origin_y) {
    if (xy.size() < 6 || (xy.size() & 1)) return;
    EnableTexturing(false);
    glBegin(GL_POLYGON);
    for (std::size_t k = 0; k + 1 < xy.size(); k += 2)
        Vertex(xy[k] + handle_x, xy[k + 1] + handle_y, origin_x, origin_y);
    glEnd();
}

void TGLLumo2DDriver::DrawPixmap(const TPixmapPtr& pixmap, int x, int y) {
    const int blend = Cache().blend();
    EnableTexturing(false);
    SetBlend(SOLIDBLEND);
    NonNull(pixmap);
    // Blitted from a texture where framebuffer objects allow (a copy for a
    // software renderer, see gl_pixmap_copy.h); written by glDrawPixels
    // otherwise. The same pixels either way.
    const bool blittable = pixmap->format == PF_RGBA8888 || pixmap->format == PF_BGRA8888;
    TPixmapPtr p = blittable ? pixmap : pixmap->Convert(PF_RGBA8888);
    if (!CopyPixmapToFramebuffer(*p, x, y, GraphicsHeight())) {
        if (p->format != PF_RGBA8888) p = p->Convert(PF_RGBA8888);
        // Raster position at the top-left corner, then moved (x, -y) window
        // pixels; rows go downward with a zoom of -1.
        glRasterPos2f(0, 0);
        glBitmap(0, 0, 0, 0, float(x), float(-y), nullptr);
        glPixelZoom(1, -1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, p->pitch / 4);
        glDrawPixels(p->width, p->height, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
        glPixelZoom(1, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    SetBlend(blend);
}

TPixmapPtr TGLLumo2DDriver::GrabPixmap(int x, int y, int width, int height) {
    const int blend = Cache().blend();
    SetBlend(SOLIDBLEND);
    TPixmapPtr p = CreatePixmap(width, height, PF_RGBA8888, 4);
    const PixelRect box = ReadBoxFor(x, y, width, height, GraphicsHeight());
    glPixelStorei(GL_PACK_ROW_LENGTH, p->pitch / 4);
    glReadPixels(box.x, box.y, box.w, box.h, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    p = YFlipPixmap(p);
    SetBlend(blend);
    return p;
}

TImageFramePtr TGLLumo2DDriver::CreateFrameFromPixmap(const TPixmapPtr& pixmap, int flags) {
    return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

// --- module start-up ----------------------------------------------------------------

void InitLumo2D() {
    static bool done = false;
    if (done) return;
    done = true;
    InitGraphics();
    InitImageFonts();
    if (TGLLumo2DDriverPtr d = GLLumo2DDriver()) SetGraphicsDriver(d, GRAPHICS_BACKBUFFER);
}

}  // namespace kestrel

#include "toolkit/graphics/gl_image_frame.h"

#include <GL/gl.h>

#include <algorithm>

#include "toolkit/core/error.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image_flags.h"
#include "toolkit/graphics/lumo2d_math.h"
#include "toolkit/graphics/texture_deletion_queue.h"

namespace kestrel {

namespace {

GLint GLFilter(TexFilter f) {
    switch (f) {
        case TexFilter::Linear: return GL_LINEAR;
        case TexFilter::NearestMipmapNearest: return GL_NEAREST_MIPMAP_NEAREST;
        case TexFilter::LinearMipmapLinear: return GL_LINEAR_MIPMAP_LINEAR;
        case TexFilter::Nearest: break;
    }
    return GL_NEAREST;
}

// Asks OpenGL through a proxy texture whether an RGBA texture of w x h is possible.
bool ProxyFits(int w, int h) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint got = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &got);
    return got != 0;
}

unsigned NewTexture(int width, int height, int flags) {
    const TexFilters f = FiltersFor(flags);
    const unsigned name = NewBoundTexture(GLFilter(f.mag), GLFilter(f.min));
    const std::vector<TexSize> levels =
        (flags & MIPMAPPEDIMAGE) ? MipChain(width, height) : std::vector<TexSize>{{width, height}};
    for (std::size_t level = 0; level < levels.size(); ++level)
        glTexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA8, levels[level].w, levels[level].h, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

void UploadLevel(const TPixmap& p, int level) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, p.pitch / BytesPerPixel[std::size_t(p.format)]);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, p.width, p.height, GL_RGBA, GL_UNSIGNED_BYTE,
                    p.pixels);
}

void Upload(TPixmapPtr p, int flags) {
    UploadLevel(*p, 0);
    if (flags & MIPMAPPEDIMAGE) {
        int level = 0;
        while (p->width > 1 || p->height > 1) {
            const int w = p->width > 1 ? p->width / 2 : 1;
            const int h = p->height > 1 ? p->height / 2 : 1;
            p = ResizePixmap(p, w, h);
            UploadLevel(*p, ++level);
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

}  // namespace

unsigned NewBoundTexture(int mag_filter, int min_filter) {
    GLuint name = 0;
    glGenTextures(1, &name);
    TGLLumo2DDriver::DeleteTextures(GLTextureDeletionQueue().TakeForCreation(GraphicsSeq()));
    TGLLumo2DDriver::BindTexture(name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    return name;
}

TGLImageFramePtr TGLImageFrame::CreateFromPixmap(const TPixmapPtr& source, int flags) {
    TPixmapPtr src = NonNull(source);
    const TexSize t = AdjustTexSize(src->width, src->height, ProxyFits);
    const int w = std::min(src->width, t.w), h = std::min(src->height, t.h);
    if (src->width > w || src->height > h) src = ResizePixmap(src, w, h);
    const TPixmapPtr pixels = TextureLayoutPixmap(src, t.w, t.h);

    auto frame = std::make_shared<TGLImageFrame>();
    frame->name = NewTexture(t.w, t.h, flags);
    if (flags & MIPMAPPEDIMAGE) {
        const TexFilters f = FiltersFor(flags);
        frame->min_filter_mip = GLFilter(f.min);
        frame->min_filter_plain = GLFilter(f.mag);
        frame->mip_filter_on = true;
    }
    frame->seq = GraphicsSeq();
    Upload(pixels, flags);
    frame->width = w;
    frame->height = h;
    frame->mipmapped = (flags & MIPMAPPEDIMAGE) != 0;
    frame->uscale = 1.0f / float(t.w);
    frame->vscale = 1.0f / float(t.h);
    frame->u1 = float(w) * frame->uscale;
    frame->v1 = float(h) * frame->vscale;
    return frame;
}

TPixmapPtr TGLImageFrame::ReadDrawnAt(int w, int h) {
    const GLShrunkCopies::Key key{0, Row(0) * vscale, float(width) * uscale, Row(float(height)) * vscale, w, h};
    return ReadFiltered(key, [this] { Prepare(false); });
}

bool TGLImageFrame::Reload(const TPixmapPtr& source, int flags) {
    if (!source || source->width != width || source->height != height ||
        ((flags & MIPMAPPEDIMAGE) != 0) != mipmapped || seq != GraphicsSeq())
        return false;
    if (shrunk) shrunk->Clear();
    TGLLumo2DDriver::BindTexture(name);
    const TexSize t = tex_size();
    if (mipmapped) {
        // Every level follows the new picture.
        Upload(TextureLayoutPixmap(source, t.w, t.h), flags);
    } else {
        // The picture and the copies of its edges beside it: the spare area
        // beyond them stays as it was made.
        const TPixmapPtr p = source->format == PF_RGBA8888 ? source : source->Convert(PF_RGBA8888);
        const int w = width, h = height;
        UploadLevel(*p, 0);
        const auto part = [&](int x, int y, int pw, int ph, int from_x, int from_y) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, pw, ph, GL_RGBA, GL_UNSIGNED_BYTE,
                            p->PixelPtr(from_x, from_y));
        };
        if (w < t.w) part(w, 0, 1, h, w - 1, 0);
        if (h < t.h) part(0, h, w, 1, 0, h - 1);
        if (w < t.w && h < t.h) part(w, h, 1, 1, w - 1, h - 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    bottom_up = false;
    return true;
}

TGLImageFrame::~TGLImageFrame() {
    if (seq != 0) GLTextureDeletionQueue().Queue(name, seq);
}

void TGLImageFrame::Prepare(bool magnifies) {
    TGLLumo2DDriver::BindTexture(name);
    TGLLumo2DDriver::EnableTexturing(true);
    TGLLumo2DDriver::CombineTextureWithColor(min_filter_mip == 0 || magnifies);
    if (min_filter_mip == 0 || mip_filter_on == !magnifies) return;
    mip_filter_on = !magnifies;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mip_filter_on ? min_filter_mip : min_filter_plain);
}

bool TGLImageFrame::DrawShrunkCopy(float x0, float y0, float x1, float y1, float tx, float ty,
                                   float sx, float sy, float sw, float sh) {
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    const Matrix2& m = cache.matrix;
    PixelRect box;
    if (!PixelAlignedBox(m, cache.pixels_per_unit_x, cache.pixels_per_unit_y, x0, y0, x1, y1, tx,
                         ty, box))
        return false;
    if (!shrunk) shrunk = std::make_unique<GLShrunkCopies>();
    const GLShrunkCopies::Key key{sx * uscale,        Row(sy) * vscale, (sx + sw) * uscale,
                                  Row(sy + sh) * vscale, box.w,          box.h};
    const GLShrunkCopy* copy =
        shrunk->Find(key, TGLLumo2DDriver::Frames(), [this] { Prepare(false); });
    if (!copy) return false;
    TGLLumo2DDriver::BindTexture(copy->name);
    TGLLumo2DDriver::EnableTexturing(true);
    TGLLumo2DDriver::CombineTextureWithColor(true);
    const float u1 = float(copy->width) / float(copy->tex.w);
    const float v1 = float(copy->height) / float(copy->tex.h);
    const auto vertex = [&](float u, float v) {
        const Point2 p = TransformPoint(m, u, v, tx, ty);
        glVertex2f(p.x, p.y);
    };
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    vertex(x0, y0);
    glTexCoord2f(u1, 0);
    vertex(x1, y0);
    glTexCoord2f(u1, v1);
    vertex(x1, y1);
    glTexCoord2f(0, v1);
    vertex(x0, y1);
    glEnd();
    return true;
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                         float sy, float sw, float sh) {
    const float tu0 = sx * uscale, tv0 = Row(sy) * vscale;
    const float tu1 = (sx + sw) * uscale, tv1 = Row(sy + sh) * vscale;
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    const Matrix2& m = cache.matrix;
    const bool magnifies =
        min_filter_mip != 0 && sw != 0 && sh != 0 &&
        DrawMagnifies(m, cache.pixels_per_unit_x, cache.pixels_per_unit_y, (x1 - x0) / sw,
                      (y1 - y0) / sh);
    if (min_filter_mip != 0 && !magnifies && sw > 0 && sh > 0 &&
        DrawShrunkCopy(x0, y0, x1, y1, tx, ty, sx, sy, sw, sh))
        return;
    Prepare(magnifies);
    const auto vertex = [&](float u, float v) {
        const Point2 p = TransformPoint(m, u, v, tx, ty);
        glVertex2f(p.x, p.y);
    };
    glBegin(GL_QUADS);
    glTexCoord2f(tu0, tv0);
    vertex(x0, y0);
    glTexCoord2f(tu1, tv0);
    vertex(x1, y0);
    glTexCoord2f(tu1, tv1);
    vertex(x1, y1);
    glTexCoord2f(tu0, tv1);
    vertex(x0, y1);
    glEnd();
}

}  // namespace kestrel

namespace kestrel {

void TGLImageFrame::DrawPolygon(const std::vector<float>& xy, float ox, float oy, float tx,
                                float ty) {
    if (xy.size() < 6 || (xy.size() & 1)) return;
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    const Matrix2& m = cache.matrix;
    Prepare(min_filter_mip != 0 &&
            DrawMagnifies(m, cache.pixels_per_unit_x, cache.pixels_per_unit_y, 1, 1));
    // Split like the renderer's ovals: few long slivers for the rasteriser.
    glBegin(GL_TRIANGLES);
    for (const TriangleIndices& t : ConvexPolygonTriangles(int(xy.size() / 2))) {
        for (const int k : {t.a, t.b, t.c}) {
            const float px = xy[2 * std::size_t(k)], py = xy[2 * std::size_t(k) + 1];
            glTexCoord2f(px * uscale, Row(py) * vscale);
            const Point2 p = TransformPoint(m, px + ox, py + oy, tx, ty);
            glVertex2f(p.x, p.y);
        }
    }
    glEnd();
}

}  // namespace kestrel

namespace kestrel {

bool TGLImageFrame::CopyFromBackBuffer(int x, int y, int w, int h) {
    const TexSize t = tex_size();
    if (w <= 0 || h <= 0 || w != width || h != height || w > t.w || h > t.h) return false;
    // Copies of the old pixels go.
    if (shrunk) shrunk->Clear();
    TGLLumo2DDriver::BindTexture(name);
    // A mip chain follows level 0 as OpenGL rebuilds it.
    if (mipmapped) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    const PixelRect box = ReadBoxFor(x, y, w, h, GraphicsHeight());
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, box.x, box.y, w, h);
    // The edges repeated into the spare area as the layout wants: the
    // picture's top row (texture row h - 1) into row h, its last column into
    // column w. Below row 0, clamping repeats the bottom row by itself.
    if (h < t.h) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, h, box.x, box.y + h - 1, w, 1);
    if (w < t.w) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, w, 0, box.x + w - 1, box.y, 1, h);
    if (w < t.w && h < t.h)
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, w, h, box.x + w - 1, box.y + h - 1, 1, 1);
    bottom_up = true;
    return true;
}

}  // namespace kestrel

namespace kestrel {

namespace {

// Whether the context combines two textures in one pass.
bool TwoTextureUnits() {
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    return units >= 2;
}

// The second unit's combination: its texture beneath the first unit's
// result, mixed by that result's alpha, for colour and alpha alike (the
// alpha ALPHABLEND would leave: a * a + beneath * (1 - a)).
void MixBeneathPrevious() {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_INTERPOLATE);
    const GLenum sources[3] = {GL_PREVIOUS, GL_TEXTURE, GL_PREVIOUS};
    const GLenum rgb_operands[3] = {GL_SRC_COLOR, GL_SRC_COLOR, GL_SRC_ALPHA};
    for (int i = 0; i < 3; ++i) {
        glTexEnvi(GL_TEXTURE_ENV, GLenum(GL_SRC0_RGB + i), GLint(sources[i]));
        glTexEnvi(GL_TEXTURE_ENV, GLenum(GL_OPERAND0_RGB + i), GLint(rgb_operands[i]));
        glTexEnvi(GL_TEXTURE_ENV, GLenum(GL_SRC0_ALPHA + i), GLint(sources[i]));
        glTexEnvi(GL_TEXTURE_ENV, GLenum(GL_OPERAND0_ALPHA + i), GL_SRC_ALPHA);
    }
}

}  // namespace

bool TGLImageFrame::DrawUnder(TImageFrame& over_frame, float over_w, float over_h, float x0,
                              float y0, float x1, float y1, float tx, float ty, float sx,
                              float sy, float sw, float sh) {
    auto* over = dynamic_cast<TGLImageFrame*>(&over_frame);
    if (!over || mipmapped || over->mipmapped || !TwoTextureUnits()) return false;
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    const Matrix2& m = cache.matrix;
    over->Prepare(true);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, name);
    glEnable(GL_TEXTURE_2D);
    MixBeneathPrevious();
    const float ou0 = 0, ov0 = over->Row(0) * over->vscale;
    const float ou1 = over_w * over->uscale, ov1 = over->Row(over_h) * over->vscale;
    const float tu0 = sx * uscale, tv0 = Row(sy) * vscale;
    const float tu1 = (sx + sw) * uscale, tv1 = Row(sy + sh) * vscale;
    const auto vertex = [&](float ou, float ov, float u, float v, float px, float py) {
        glMultiTexCoord2f(GL_TEXTURE0, ou, ov);
        glMultiTexCoord2f(GL_TEXTURE1, u, v);
        const Point2 p = TransformPoint(m, px, py, tx, ty);
        glVertex2f(p.x, p.y);
    };
    glBegin(GL_QUADS);
    vertex(ou0, ov0, tu0, tv0, x0, y0);
    vertex(ou1, ov0, tu1, tv0, x1, y0);
    vertex(ou1, ov1, tu1, tv1, x1, y1);
    vertex(ou0, ov1, tu0, tv1, x0, y1);
    glEnd();
    // The second unit off again: every other draw uses the first alone.
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    return true;
}

}  // namespace kestrel

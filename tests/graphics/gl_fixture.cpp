#include "tests/graphics/gl_fixture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <dlfcn.h>

#include <cstdlib>

#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"

namespace kestrel::test {

namespace {

// Mesa's drivers unloaded at exit make LeakSanitizer report their
// allocations without stacks; keeping them loaded lets it see them.
__attribute__((constructor)) void KeepMesaLoaded() {
    const char* libs[] = {"libEGL_mesa.so.0", "libGLX_mesa.so.0",
                          "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"};
    for (const char* lib : libs) dlopen(lib, RTLD_NOW | RTLD_NODELETE);
}

bool g_fresh_black = false;
bool g_tried = false;
bool g_open = false;
std::string g_why;

}  // namespace

bool OpenTestGraphics(std::string* why) {
    // The offscreen driver needs no X server; an explicit choice wins.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    InitLumo2D();
    const bool first = !g_tried;
    g_tried = true;
    g_open = Graphics(kWidth, kHeight, 0, 0, 0) != nullptr;
    if (!g_open) g_why = "no OpenGL display: " + GraphicsError();
    if (g_open && first) {
        const TPixmapPtr p = GrabPixmap(0, 0, kWidth, kHeight);
        g_fresh_black = true;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((p->ReadPixel(x, y) & 0xFFFFFF) != 0) g_fresh_black = false;
    }
    if (why) *why = g_why;
    return g_open;
}

bool FreshGraphicsWereBlack() { return g_fresh_black; }

void GLTest::SetUp() {
    if (!g_tried) OpenTestGraphics();
    if (!g_open) GTEST_SKIP() << g_why;
    SetViewport(0, 0, kWidth, kHeight);
    SetOrigin(0, 0);
    SetHandle(0, 0);
    SetTransform(0, 1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(SOLIDBLEND);
    SetImageFont(nullptr);
    SetClsColor(0, 0, 0);
    Cls();
}

Screen::Screen() : pix_(GrabPixmap(0, 0, kWidth, kHeight)) {}

Rgba Screen::at(int x, int y) const {
    const std::uint8_t* p = pix_->PixelPtr(x, y);
    return {p[0], p[1], p[2], p[3]};
}

bool Screen::IsBlack(int x, int y) const {
    const Rgba c = at(x, y);
    return c.r == 0 && c.g == 0 && c.b == 0;
}

bool Screen::Lit(int x, int y) const { return !IsBlack(x, y); }

int Screen::OffColourAlong(int x, int y, int along, Rgba want) const {
    const auto off = [&](Rgba c) {
        return std::abs(c.r - want.r) > 1 || std::abs(c.g - want.g) > 1 || std::abs(c.b - want.b) > 1;
    };
    int n = 0;
    for (int i = 0; i < along; i += 7) n += off(at(x, i)) + off(at(i, y));
    return n;
}

ProgramFramebuffer::ProgramFramebuffer() {
    GLint before = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &before);
    before_ = unsigned(before);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

ProgramFramebuffer::~ProgramFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, before_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteFramebuffers(1, &fbo_);
}

}  // namespace kestrel::test

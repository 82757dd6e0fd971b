#include "toolkit/graphics/gl_graphics_driver.h"

#include <vector>

namespace kestrel {

TGLGraphics::~TGLGraphics() {
    // A context whose graphics object is gone can no longer be reached.
    if (_context) GLCloseContext(_context);
}

TGraphicsDriverPtr TGLGraphics::Driver() { return GLGraphicsDriver(); }

void TGLGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    width = height = depth = hertz = flags = 0;
    if (_context) GLContextSettings(_context, width, height, depth, hertz, flags);
}

void TGLGraphics::Close() {
    if (!_context) return;
    GLContext* context = _context;
    _context = nullptr;
    GLCloseContext(context);
}

std::vector<TGraphicsModePtr> TGLGraphicsDriver::GraphicsModes() {
    constexpr int kMaxModes = 1024;
    std::vector<int> buffer(kMaxModes * 4);
    const int n = GLEnumModes(buffer.data(), kMaxModes);
    std::vector<TGraphicsModePtr> modes;
    for (int i = 0; i < n; ++i)
        modes.push_back(TGraphicsMode::Create(buffer[i * 4], buffer[i * 4 + 1], buffer[i * 4 + 2],
                                              buffer[i * 4 + 3]));
    return modes;
}

TGraphicsPtr TGLGraphicsDriver::AttachGraphics(std::intptr_t widget, int flags) {
    GLContext* context = GLAttachContext(widget, flags);
    if (!context) return nullptr;
    auto g = std::make_shared<TGLGraphics>();
    g->_context = context;
    return g;
}

TGraphicsPtr TGLGraphicsDriver::CreateGraphics(int width, int height, int depth, int hertz,
                                               int flags) {
    GLContext* context = GLCreateContext(width, height, depth, hertz, flags);
    if (!context) return nullptr;
    auto g = std::make_shared<TGLGraphics>();
    g->_context = context;
    return g;
}

void TGLGraphicsDriver::SetGraphics(const TGraphicsPtr& graphics) {
    auto gl = std::dynamic_pointer_cast<TGLGraphics>(graphics);
    GLSetCurrent(gl ? gl->_context : nullptr);
}

void TGLGraphicsDriver::Flip(int sync) { GLSwapBuffers(sync); }

std::shared_ptr<TGLGraphicsDriver> GLGraphicsDriver() {
    static auto* driver = new std::shared_ptr<TGLGraphicsDriver>(
        std::make_shared<TGLGraphicsDriver>());
    return *driver;
}

TGraphicsPtr GLGraphics(int width, int height, int depth, int hertz, int flags) {
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
    return Graphics(width, height, depth, hertz, flags);
}

}  // namespace kestrel

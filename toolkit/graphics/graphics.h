// The graphics module: the abstract graphics object and driver, display
// modes, the current driver and graphics, opening the program's display
// (Graphics/EndGraphics) and presenting frames (Flip) with vertical sync or
// software frame pacing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/core/object.h"

namespace kestrel {

// Graphics flags (ORed; they shape the pixel format).
inline constexpr int GRAPHICS_BACKBUFFER = 2;
inline constexpr int GRAPHICS_ALPHABUFFER = 4;
inline constexpr int GRAPHICS_DEPTHBUFFER = 8;
inline constexpr int GRAPHICS_STENCILBUFFER = 16;
inline constexpr int GRAPHICS_ACCUMBUFFER = 32;

class TGraphicsDriver;
using TGraphicsDriverPtr = std::shared_ptr<TGraphicsDriver>;

class TGraphicsMode : public Object {
public:
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;

    // "1024,768,32 60Hz"
    std::string ToString() const override;
    static std::shared_ptr<TGraphicsMode> Create(int width, int height, int depth, int hertz);
};
using TGraphicsModePtr = std::shared_ptr<TGraphicsMode>;

// A graphics object (a window or display with a rendering context). The
// base slots raise TNullMethodException unless a driver's type replaces them.
class TGraphics : public Object {
public:
    virtual int _pad() { return 0; }
    virtual TGraphicsDriverPtr Driver();
    virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags);
    virtual void Close();
};
using TGraphicsPtr = std::shared_ptr<TGraphics>;

class TGraphicsDriver : public Object {
public:
    virtual std::vector<TGraphicsModePtr> GraphicsModes();
    // widget: a native window handle of the platform layer.
    virtual TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags);
    virtual TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags);
    // Makes the graphics object's context current; null releases it.
    virtual void SetGraphics(const TGraphicsPtr& graphics);
    virtual void Flip(int sync);
};

// Once-only module set-up: allocates FlipHook.
void InitGraphics();

// The sequence number of the graphics generation, never 0. Anything made
// for one generation (textures) is rebuilt when it differs.
int GraphicsSeq();

// Hook run by every Flip, with null data.
int FlipHook();

void SetGraphicsDriver(TGraphicsDriverPtr driver, int defaultFlags = GRAPHICS_BACKBUFFER);
TGraphicsDriverPtr GetGraphicsDriver();
int DefaultGraphicsFlags();

std::vector<TGraphicsModePtr> GraphicsModes();
int CountGraphicsModes();
void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
// An argument of 0 matches anything.
bool GraphicsModeExists(int width, int height, int depth = 0, int hertz = 0);

// Errors raised by the driver are caught: the result is then null, and
// GraphicsError() tells why.
TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags);
TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags);
void CloseGraphics(const TGraphicsPtr& graphics);
void SetGraphics(const TGraphicsPtr& graphics);

int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
int GraphicsFlags();

// Opens the program's display (closing the previous one): depth 0 is a
// window, any other depth full screen. Null when it cannot be made. How the
// window is sized and the full-screen keys: window_options.h.
TGraphicsPtr Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
void EndGraphics();

// Presents the frame. sync 0: at once; 1 (or more): with vertical sync,
// never faster than 60 frames a second; -1: the pacing chosen by Graphics.
void Flip(int sync = -1);

// Why the last CreateGraphics (or Graphics) gave null; empty after a
// success. Drivers set it with SetGraphicsError before returning null.
std::string GraphicsError();
void SetGraphicsError(const std::string& reason);

}  // namespace kestrel

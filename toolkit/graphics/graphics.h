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

// Graphics flags of Graphics and CreateGraphics (or-ed; they shape the pixel
// format of the window's rendering context).
inline constexpr int GRAPHICS_BACKBUFFER = 2;     // double-buffered: draw out of sight, Flip shows it
inline constexpr int GRAPHICS_ALPHABUFFER = 4;    // an alpha channel in the frame buffer
inline constexpr int GRAPHICS_DEPTHBUFFER = 8;    // a depth buffer
inline constexpr int GRAPHICS_STENCILBUFFER = 16; // a stencil buffer
inline constexpr int GRAPHICS_ACCUMBUFFER = 32;   // an accumulation buffer

class TGraphicsDriver;
// A shared graphics driver; null is none.
using TGraphicsDriverPtr = std::shared_ptr<TGraphicsDriver>;

// A display mode a driver offers for full screen.
class TGraphicsMode : public Object {
public:
    int width = 0;   // pixels
    int height = 0;  // pixels
    int depth = 0;   // bits per pixel
    int hertz = 0;   // refresh rate

    // "1024,768,32 60Hz"
    std::string ToString() const override;
    // A new mode with these fields.
    static std::shared_ptr<TGraphicsMode> Create(int width, int height, int depth, int hertz);
};
// A shared display mode.
using TGraphicsModePtr = std::shared_ptr<TGraphicsMode>;

// A graphics object (a window or display with a rendering context). The
// base slots raise TNullMethodException unless a driver's type replaces them.
class TGraphics : public Object {
public:
    // The driver that made it.
    virtual TGraphicsDriverPtr Driver();
    // Its size in pixels, depth (0 for a window), refresh rate and flags.
    virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags);
    // Closes the window or display; the object stays, unusable.
    virtual void Close();
};
// A shared graphics object; null is none.
using TGraphicsPtr = std::shared_ptr<TGraphics>;

// Makes graphics objects: the platform's windows and displays. The base
// slots raise TNullMethodException unless a driver's type replaces them.
class TGraphicsDriver : public Object {
public:
    // The full-screen display modes the driver offers.
    virtual std::vector<TGraphicsModePtr> GraphicsModes();
    // widget: a native window handle of the platform layer.
    virtual TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags);
    // A new window (depth 0) or full-screen display of width x height
    // pixels; null (or a thrown error) when it cannot be made.
    virtual TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags);
    // Makes the graphics object's context current; null releases it.
    virtual void SetGraphics(const TGraphicsPtr& graphics);
    // Shows the current graphics' frame: sync 0 at once, else at the
    // vertical blank.
    virtual void Flip(int sync);
};

// Once-only module set-up: allocates FlipHook.
void InitGraphics();

// The sequence number of the graphics generation, never 0. Anything made
// for one generation (textures) is rebuilt when it differs.
int GraphicsSeq();

// Hook run by every Flip, with null data.
int FlipHook();

// Makes driver the current graphics driver (start-up sets the OpenGL one),
// with flags added to every CreateGraphics; no graphics is current after it.
void SetGraphicsDriver(TGraphicsDriverPtr driver, int defaultFlags = GRAPHICS_BACKBUFFER);
// The current graphics driver; null before one is set.
TGraphicsDriverPtr GetGraphicsDriver();
// The flags SetGraphicsDriver adds to every CreateGraphics.
int DefaultGraphicsFlags();

// The current driver's full-screen display modes (asked once, then kept);
// empty without a driver.
std::vector<TGraphicsModePtr> GraphicsModes();
// The number of GraphicsModes.
int CountGraphicsModes();
// The mode at index (0..CountGraphicsModes()-1); another index raises
// TArrayBoundsException.
void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
// An argument of 0 matches anything.
bool GraphicsModeExists(int width, int height, int depth = 0, int hertz = 0);

// Errors raised by the driver are caught: the result is then null, and
// GraphicsError() tells why.
// A new graphics object from the current driver (depth 0: a window of
// width x height pixels; else full screen at that mode); the default flags
// are added. Null without a driver.
TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags);
// A graphics object over an existing native window (widget); null without
// a driver or when the driver cannot.
TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags);
// Closes graphics (releasing it first when it is current). Null raises
// TNullObjectException.
void CloseGraphics(const TGraphicsPtr& graphics);
// Makes graphics the one drawn into (its driver becomes the current one);
// null leaves none current. The graphics current when the program ends is
// closed then, as the display Graphics opened is.
void SetGraphics(const TGraphicsPtr& graphics);

// @{
// The current graphics' settings: width and height in pixels, depth in bits
// (0 for a window), refresh rate in hertz, flags; all 0 when none is current.
int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
int GraphicsFlags();
// @}

// Opens the program's display (closing the previous one): depth 0 is a
// window, any other depth full screen. Null when it cannot be made. How the
// window is sized and the full-screen keys: window_options.h.
TGraphicsPtr Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// Closes the display Graphics opened, if any (also done at program exit).
void EndGraphics();

// Presents the frame. sync 0: at once; 1 (or more): with vertical sync,
// never faster than 60 frames a second; -1: the pacing chosen by Graphics.
void Flip(int sync = -1);

// Why the last CreateGraphics (or Graphics) gave null; empty after a
// success. Drivers set it with SetGraphicsError before returning null.
std::string GraphicsError();
// Sets the text GraphicsError returns (for graphics drivers).
void SetGraphicsError(const std::string& reason);

}  // namespace kestrel

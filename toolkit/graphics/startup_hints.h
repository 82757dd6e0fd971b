// What the graphics module says when a program opens a display without the
// modules it needs: no graphics driver at all, a driver without the 2D
// renderer, or a real window under the headless system driver.
#pragma once

#include <string>

#include "toolkit/graphics/graphics.h"

namespace kestrel {

// GraphicsError() after Graphics or CreateGraphics found no driver.
inline constexpr const char* kNoGraphicsDriverError =
    "no graphics driver: call kestrel::Startup() (or kestrel::InitLumo2D()) before Graphics";

// Warns once when the display just opened has no 2D renderer behind it, so
// that Cls, DrawImage and DrawText would raise errors.
void WarnIfNo2DRenderer(const TGraphicsDriverPtr& driver);

// Warns once when a real window was opened while the system driver is the
// headless one, which never reads the window's keys, mouse or close button.
// Called by the platform's window layer after it made a window.
void WarnIfHeadlessSystemDriver();

}  // namespace kestrel

// The current graphics' 2D state and renderer, as the drawing, image and
// text functions reach them. Without them those functions raise
// TNullObjectException with a text naming the function the program called
// and what it forgot: "Cls: no graphics open: call Graphics() first", or,
// with a display open but no 2D renderer behind it, a call to Startup().
#pragma once

#include <source_location>

#include "toolkit/graphics/lumo2d_graphics.h"

namespace kestrel {

// The current 2D graphics record. where is the caller's location, so a
// module function's own name reaches the text.
TLumo2DGraphics& DrawingState(std::source_location where = std::source_location::current());

// The current 2D renderer (see DrawingState).
TLumo2DDriver& DrawingDriver(std::source_location where = std::source_location::current());

}  // namespace kestrel

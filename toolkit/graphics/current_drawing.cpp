#include "toolkit/graphics/current_drawing.h"

#include <string>

#include "toolkit/core/error.h"
#include "toolkit/graphics/graphics.h"

namespace kestrel {

namespace {

// What is missing: a display open through Graphics (or SetGraphics) has
// settings; one without 2D state came from a driver without the renderer.
[[noreturn]] void NoDrawing(const std::source_location& where) {
    const std::string function = FunctionName(where);
    if (GraphicsWidth() > 0)
        throw TNullObjectException(function +
                                   ": the graphics open have no 2D renderer: call "
                                   "kestrel::Startup() (or kestrel::InitLumo2D()) before Graphics()");
    throw TNullObjectException(function + ": no graphics open: call Graphics() first");
}

}  // namespace

TLumo2DGraphics& DrawingState(std::source_location where) {
    TLumo2DGraphics* g = TLumo2DGraphics::CurrentRecord();
    if (!g) NoDrawing(where);
    return *g;
}

TLumo2DDriver& DrawingDriver(std::source_location where) {
    TLumo2DDriver* d = CurrentLumo2DDriverPtr();
    if (!d) NoDrawing(where);
    return *d;
}

}  // namespace kestrel

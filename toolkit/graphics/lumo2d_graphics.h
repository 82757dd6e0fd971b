// TLumo2DGraphics: the 2D renderer's state record, one per graphics object.
// It wraps the driver-level graphics and keeps every piece of drawing state
// so that the whole state can be sent again after a context change.
#pragma once

#include <memory>

#include "toolkit/graphics/blend_modes.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d_driver.h"

namespace kestrel {

class TImageFont;
class TLumo2DGraphics;
using TLumo2DGraphicsPtr = std::shared_ptr<TLumo2DGraphics>;

class TLumo2DGraphics : public TGraphics {
public:
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;  // as the caller gave it; the driver clamps
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0;  // degrees
    float tform_scale_x = 1, tform_scale_y = 1;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;  // virtual units
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;  // the negated SetHandle values
    std::shared_ptr<TImageFont> image_font;
    int blend_mode = MASKBLEND;
    float vres_width = 0, vres_height = 0;
    float vres_mousexscale = 1, vres_mouseyscale = 1;  // virtual units per pixel
    int g_width = 0, g_height = 0;  // size seen at the last Validate
    TGraphicsPtr _graphics;
    TLumo2DDriverPtr _driver;
    int _setup = 0;

    TGraphicsDriverPtr Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    void Close() override;

    // Picks up a changed graphics size, then sends the whole state again.
    void Validate();
    // Becomes the current record (its driver the current renderer driver)
    // and validates; the first time, both buffers are cleared.
    void MakeCurrent();

    static void ClearCurrent();
    static TLumo2DGraphicsPtr Current();
    // The same without taking a reference (drawing calls, per quad).
    static TLumo2DGraphics* CurrentRecord();
    static TLumo2DGraphicsPtr Create(const TGraphicsPtr& graphics, const TLumo2DDriverPtr& driver);
};

// The current renderer driver (set with the current record), or nullptr.
TLumo2DDriverPtr CurrentLumo2DDriver();
TLumo2DDriver* CurrentLumo2DDriverPtr();

}  // namespace kestrel

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
// A shared renderer state record; null is none.
using TLumo2DGraphicsPtr = std::shared_ptr<TLumo2DGraphics>;

// The renderer's state of one graphics object: colours, transform, viewport,
// origin, handle, font, blend mode and virtual resolution, as the drawing
// functions (lumo2d_functions.h) set them.
class TLumo2DGraphics : public TGraphics {
public:
    // @{
    // The drawing colour, 0..255 each (SetColor).
    int color_red = 255, color_green = 255, color_blue = 255;
    // @}
    float color_alpha = 1.0f;  // drawing alpha as the caller gave it (SetAlpha); the driver clamps to 0..1
    // @{
    // The colour Cls clears to, 0..255 each (SetClsColor).
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    // @}
    float line_width = 1.0f;  // line width in pixels (SetLineWidth)
    float tform_rot = 0;  // rotation in degrees (SetRotation)
    // @{
    // The scale factors (SetScale).
    float tform_scale_x = 1, tform_scale_y = 1;
    // @}
    // @{
    // The transform matrix made from rotation and scale: a drawn point (x, y)
    // lands at (x * ix + y * iy, x * jx + y * jy) from the drawing position.
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    // @}
    // @{
    // The viewport (SetViewport) in virtual units.
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    // @}
    // @{
    // The origin added to every drawing position (SetOrigin).
    float origin_x = 0, origin_y = 0;
    // @}
    // @{
    // The handle offset of the drawing functions: the negated SetHandle values.
    float handle_x = 0, handle_y = 0;
    // @}
    std::shared_ptr<TImageFont> image_font;  // the font of DrawText (SetImageFont); null: the built-in one
    int blend_mode = MASKBLEND;  // the blend mode (SetBlend)
    // @{
    // The virtual resolution (SetVirtualResolution); 0 until set or validated.
    float vres_width = 0, vres_height = 0;
    // @}
    // @{
    // Virtual units per window pixel, for the mouse position.
    float vres_mousexscale = 1, vres_mouseyscale = 1;
    // @}
    // @{
    // The graphics size in pixels seen at the last Validate.
    int g_width = 0, g_height = 0;
    // @}
    TGraphicsPtr _graphics;    // the driver-level graphics object wrapped
    TLumo2DDriverPtr _driver;  // the renderer driver that draws it
    int _setup = 0;            // 1 once the first MakeCurrent cleared both buffers

    // The renderer driver (which is the graphics driver of the record).
    TGraphicsDriverPtr Driver() override;
    // The wrapped graphics' settings.
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    // Closes the wrapped graphics.
    void Close() override;

    // Picks up a changed graphics size, then sends the whole state again.
    void Validate();
    // Becomes the current record (its driver the current renderer driver)
    // and validates; the first time, both buffers are cleared.
    void MakeCurrent();

    // Leaves no record current.
    static void ClearCurrent();
    // The current record; null when none is.
    static TLumo2DGraphicsPtr Current();
    // The same without taking a reference (drawing calls, per quad).
    static TLumo2DGraphics* CurrentRecord();
    // A new record over graphics, drawn by driver, with the default state.
    static TLumo2DGraphicsPtr Create(const TGraphicsPtr& graphics, const TLumo2DDriverPtr& driver);
};

// The current renderer driver (set with the current record), or nullptr.
TLumo2DDriverPtr CurrentLumo2DDriver();
// The same without taking a reference; nullptr when none is current.
TLumo2DDriver* CurrentLumo2DDriverPtr();

}  // namespace kestrel

#include "toolkit/graphics/lumo2d_graphics.h"

#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"

namespace kestrel {

namespace {
struct CurrentState {
    TLumo2DGraphicsPtr record;
    TLumo2DDriverPtr driver;
};
CurrentState& State() {
    static CurrentState state;
    return state;
}
}  // namespace

TLumo2DDriverPtr CurrentLumo2DDriver() { return State().driver; }
TLumo2DDriver* CurrentLumo2DDriverPtr() { return State().driver.get(); }

TGraphicsDriverPtr TLumo2DGraphics::Driver() { return _driver; }

void TLumo2DGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    width = height = depth = hertz = flags = 0;
    if (_graphics) _graphics->GetSettings(width, height, depth, hertz, flags);
}

void TLumo2DGraphics::Close() {
    if (!_graphics) return;
    _graphics->Close();
    _graphics = nullptr;
    _driver = nullptr;
}

void TLumo2DGraphics::Validate() {
    int w, h, d, hz, fl;
    GetSettings(w, h, d, hz, fl);
    if (w != g_width || h != g_height) {
        g_width = w;
        g_height = h;
        vres_width = float(w);
        vres_height = float(h);
        vres_mousexscale = 1;
        vres_mouseyscale = 1;
    }
    // Through the module functions, so the driver receives every value.
    SetVirtualResolution(vres_width, vres_height);
    SetBlend(blend_mode);
    SetColor(color_red, color_green, color_blue);
    SetAlpha(color_alpha);
    SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    SetLineWidth(line_width);
    SetRotation(tform_rot);
    SetScale(tform_scale_x, tform_scale_y);
    SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
    SetOrigin(origin_x, origin_y);
    SetHandle(-handle_x, -handle_y);
    SetImageFont(image_font);
}

void TLumo2DGraphics::MakeCurrent() {
    State().record = std::static_pointer_cast<TLumo2DGraphics>(shared_from_this());
    State().driver = _driver;
    Validate();
    if (_setup == 0) {
        // Both buffers start cleared.
        kestrel::Cls();
        kestrel::Flip(0);
        kestrel::Cls();
        kestrel::Flip(0);
        _setup = 1;
    }
}

void TLumo2DGraphics::ClearCurrent() {
    State().record = nullptr;
    State().driver = nullptr;
}

TLumo2DGraphicsPtr TLumo2DGraphics::Current() { return State().record; }
TLumo2DGraphics* TLumo2DGraphics::CurrentRecord() { return State().record.get(); }

TLumo2DGraphicsPtr TLumo2DGraphics::Create(const TGraphicsPtr& graphics,
                                           const TLumo2DDriverPtr& driver) {
    int w = 0, h = 0, d, hz, fl;
    if (graphics) graphics->GetSettings(w, h, d, hz, fl);
    auto g = std::make_shared<TLumo2DGraphics>();
    g->image_font = DefaultImageFont();
    g->viewport_w = w;
    g->viewport_h = h;
    g->vres_width = float(w);
    g->vres_height = float(h);
    g->g_width = w;
    g->g_height = h;
    g->_graphics = graphics;
    g->_driver = driver;
    return g;
}

}  // namespace kestrel

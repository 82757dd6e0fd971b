// Where the time counter goes. It is drawn right-aligned on x 896 (one
// player) or centred between the boards (two players), its top on y 668,
// with a shadow 10 pixels right and down. Where that place has no room for
// the digits and their shadow, on the screen and clear of the boards and
// the throwers' walking row, the counter is moved, and scaled down only
// when no free area takes it whole.
#pragma once

#include <string>
#include <vector>

namespace virexo {

// A box in screen pixels, x1 and y1 exclusive.
struct CajaTiempo {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float ancho() const { return x1 - x0; }
    float alto() const { return y1 - y0; }
};

// Where the text is drawn from and at what scale (the shadow at the same
// scale, offset by 10 pixels times the scale).
struct ColocacionTiempo {
    float x = 0, y = 0;
    float escala = 1.0f;
};

inline constexpr float kSombraTiempo = 10.0f;  // shadow offset in pixels

// The placement of a text whose ink and shadow, drawn from (0, 0) at scale
// 1, cover `tinta`, and that would be drawn from (x, y): there where it fits
// one of the `libres` areas whole; else the largest scale at which one takes
// it, moved as little as possible from its place (the nearest on a tie).
ColocacionTiempo colocatiempo(const CajaTiempo& tinta, float x, float y,
                              const std::vector<CajaTiempo>& libres);

// The free areas of a screen w x h, `margen` pixels clear of each obstacle:
// the columns between the `tableros` boxes (full height), and the narrower
// ones between the `caminos` boxes (the throwers' reach) where those stand
// lower down, each ending above the walking rows that narrow it.
std::vector<CajaTiempo> zonaslibres(float w, float h, const std::vector<CajaTiempo>& tableros,
                                    const std::vector<CajaTiempo>& caminos, float margen);

// The ink of the counter's text and shadow in the current image font, drawn
// from (0, 0) at scale 1.
CajaTiempo tintatiempo(const std::string& text);

}  // namespace virexo

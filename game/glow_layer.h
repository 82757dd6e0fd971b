// The backdrop's glows added up on the CPU into the layer that the backdrop
// enlarges over the screen. Drawn by the renderer, the layer's thirty glows
// cover it some seven times over, each pixel filtered, tinted and blended:
// for a software renderer a fifth of the frame, and a wait in mid-frame
// while the layer is copied out of the back buffer. Here each glow is
// filtered and tinted as OpenGL would (linear filtering of the glow at the
// layer's scale, the tint multiplied in, 8-bit rounding at each step) and
// the sums are clamped at 255 as additive blending clamps them: a few
// vector instructions per pixel on the main thread, which a frame leaves
// mostly idle. The glow is round, so it is not turned: turning it changes
// nothing at the layer's scale.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/resources/pixmap.h"

namespace virexo {

// The glow at the layer's scale, as the grey level of each texel with a
// black texel all round (the texture's clamped edge is black: the glow's
// lit disc lies inside it).
struct BrilloGris {
    int lado = 0;                     // side, border included
    std::vector<std::uint16_t> gris;  // lado x lado levels, rows from the top
    float centro = 0;                 // the glow's centre in texels from its left edge
};
// From the glow reduced to the layer's scale (PF_RGBA8888, grey) and its
// centre, the glow's handle.
BrilloGris brillogris(const kestrel::TPixmap& reducido, float centro);

// One glow where it stands: its centre in layer pixels and its tint.
struct BrilloEnCapa {
    float x = 0, y = 0;
    int rojo = 0, verde = 0, azul = 0;  // 0..255
};

// Writes into the top-left w x h pixels of `capa` (PF_RGBA8888, opaque)
// the sum of the glows over black, each channel clamped at 255.
void componecapa(kestrel::TPixmap& capa, int w, int h, const BrilloGris& brillo,
                 const std::vector<BrilloEnCapa>& brillos);

}  // namespace virexo

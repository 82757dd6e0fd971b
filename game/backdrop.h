// The animated backdrop behind every screen: thirty coloured glows drifting
// over the screen, drawn additively from one glow image.
#pragma once

#include <vector>

#include "toolkit/graphics/image.h"

namespace virexo {

// Makes the glow image (its picture computed, see glow_picture.h), places
// the glows and clears the screen to black. Needs the display open.
void creafondo();

// Moves every glow by one game update (1/60 s).
void muevefondo();

// Draws every glow where it stands over the whole screen, which it covers
// opaquely (clearing it to black first where it must: the caller need not),
// and leaves the blend at ALPHABLEND. The glows are added up on
// the CPU at a quarter of the screen's resolution into a layer
// (glow_layer.h), which is enlarged on the CPU as linear filtering would
// enlarge it (layer_enlarging.h) and written as it is (DrawPixmap): the
// glows are smooth, so the picture changes by a few levels at most (the
// backdrop test holds it to the exact drawing) for a small part of the
// work. A viewport smaller than the screen, a screen whose sides are not
// multiples of 4, a virtual resolution other than the screen's or a
// drawing origin between pixels gets the exact drawing instead, clipped to
// the viewport.
// `encima`: panels drawn over the backdrop in their order (what lies under
// the boards' pieces: _tablero::bajopiezas), as ALPHABLEND draws them with
// their colour and alpha, unscaled and unturned. They are mixed in while
// the layer is enlarged, so that a software renderer fills each of their
// pixels once, not twice, up to the first that lies between pixels; that
// one and those after it are drawn over the picture after, in their order.
void dibujafondo(const std::vector<kestrel::ImageOver>& encima = {});

// The glows drawn one by one, whole, at full resolution onto the black
// screen: the exact picture, which dibujafondo approaches.
void dibujafondoexacto();

}  // namespace virexo

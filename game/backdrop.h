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
// (the back buffer must be black, as Cls leaves it); leaves the blend at
// ALPHABLEND. The glows are added up on the CPU at a quarter of the
// screen's resolution into a layer image (glow_layer.h), which is drawn
// enlarged with linear filtering: the glows are smooth, so the picture
// changes by a few levels at most (the backdrop test holds it to the exact
// drawing) for a small part of the work. A viewport smaller than the
// screen gets the exact drawing, clipped to it.
// `encima`: panels drawn over the backdrop (the boards' grids), in the
// layer's own pass where they lie, as DrawSubImageRectUnder draws them: a
// software renderer then fills each of their pixels once, not twice.
void dibujafondo(const std::vector<kestrel::ImageOver>& encima = {});

// The glows drawn one by one, whole, at full resolution onto the black
// screen: the exact picture, which dibujafondo approaches.
void dibujafondoexacto();

}  // namespace virexo

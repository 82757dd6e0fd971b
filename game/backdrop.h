// The animated backdrop behind every screen: thirty coloured glows drifting
// over the screen, drawn additively from one grabbed glow image.
#pragma once

namespace virexo {

// Draws the glow into the back buffer, grabs it into imgbrillo and places
// the particles. Needs the display open and its back buffer black.
void creafondo();

// Moves every glow by one game update (1/60 s).
void muevefondo();

// Draws every glow where it stands; leaves the blend at ALPHABLEND.
void dibujafondo();

}  // namespace virexo

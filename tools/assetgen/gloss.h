// Glossy "plastic" shading of a flat shape: the shape's distance field is
// turned into a rounded height profile, lit from the top left, with a dark
// rim, a soft bounce light at the bottom and a sharp window highlight.
#pragma once

#include "canvas.h"

namespace assetgen {

struct GlossStyle {
    Color base;             // the hue
    float bevel = 10.0f;    // depth in pixels over which the edge rounds off
    float rim = 1.6f;       // width of the dark rim in pixels
    float shine = 1.0f;     // strength of the highlights
    float specular_power = 60.0f;
    Vec2 highlight_center{0, 0};  // window highlight: centre, radii and angle
    Vec2 highlight_radii{0, 0};
    float highlight_angle = -30.0f;
};

// Fills the shape with glossy shading.
void FillGlossy(Canvas& canvas, const Sdf& shape, const GlossStyle& style);
// A soft shadow of the shape below and to the right.
void FillSoftShadow(Canvas& canvas, const Sdf& shape, Vec2 offset, float blur, float alpha);

}  // namespace assetgen

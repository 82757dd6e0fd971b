// Label and banner pictures: white bold letters with a dark outline and a
// drop shadow (banners add a coloured glow), sized to fill their picture and
// centred on their ink.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "text.h"

namespace assetgen {

struct LabelStyle {
    float outline = 2.5f;        // dark outline width in pixels
    int shadow_dx = 4, shadow_dy = 4;
    int shadow_blur = 2;
    float shadow_alpha = 0.85f;
    Color glow{0, 0, 0, 0};      // glow colour (alpha 0: no glow)
    int glow_radius = 0;
    Color top = Rgb(255, 255, 255);
    Color bottom = Rgb(206, 218, 236);
    int pad = -1;                // margin kept free on every side (-1: from the effects)
};

// Where a text block lands in its picture: the pixel size it is rendered at
// and the picture position of its rendered mask's top-left corner.
struct TextPlacement {
    int size = 0;
    int ox = 0, oy = 0;
};

// The placement MakeTextImage chooses: the largest size that fits inside
// the margins, the ink centred.
TextPlacement PlaceText(int w, int h, const Font& font, const TextBlock& block, const LabelStyle& style);

// A label picture; `place` puts the text elsewhere than PlaceText would (a
// line that must line up with the lines of another picture).
Canvas MakeTextImage(int w, int h, const std::string& font_path, const TextBlock& block,
                     const LabelStyle& style, const TextPlacement* place = nullptr);

// A banner: 170 pixels high, one line, its glow in the given hue.
Canvas MakeBanner(int w, const std::string& text, Color glow);

}  // namespace assetgen

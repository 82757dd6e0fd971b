#include "labels.h"

namespace assetgen {

TextPlacement PlaceText(int w, int h, const Font& font, const TextBlock& block, const LabelStyle& style) {
    int effects = int(std::ceil(style.outline)) +
                  std::max(std::max(style.shadow_dx, style.shadow_dy) + style.shadow_blur * 2,
                           style.glow.a > 0 ? style.glow_radius * 2 : 0);
    int pad = style.pad >= 0 ? style.pad : effects;
    TextPlacement p;
    p.size = FitPixelSize(font, block, w - 2 * pad, h - 2 * pad);
    InkBox ink = FindInk(RenderBlock(font, block, p.size));
    // Centre the ink in the picture, on whole pixels so stems stay sharp.
    p.ox = int(std::floor(w / 2.0f - (ink.x0 + ink.x1) / 2.0f + 0.5f));
    p.oy = int(std::floor(h / 2.0f - (ink.y0 + ink.y1) / 2.0f + 0.5f));
    return p;
}

Canvas MakeTextImage(int w, int h, const std::string& font_path, const TextBlock& block,
                     const LabelStyle& style, const TextPlacement* place) {
    Font font(font_path);
    const TextPlacement p = place ? *place : PlaceText(w, h, font, block, style);
    Mask rendered = RenderBlock(font, block, p.size);
    InkBox ink = FindInk(rendered);
    const int ox = p.ox, oy = p.oy;
    Mask letters(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) letters.Ref(x, y) = rendered.At(x - ox, y - oy);

    Mask outline = Dilate(letters, style.outline);
    Canvas canvas(w, h);
    if (style.glow.a > 0 && style.glow_radius > 0) {
        Mask glow = Blur(Dilate(letters, style.glow_radius * 0.5f), style.glow_radius);
        canvas.FillMask(glow, 0, 0, style.glow);
    }
    Mask shadow = Blur(Shift(outline, style.shadow_dx, style.shadow_dy), style.shadow_blur);
    canvas.FillMask(shadow, 0, 0, Color{0.0f, 0.0f, 0.03f, style.shadow_alpha});
    canvas.FillMask(outline, 0, 0, Rgb(12, 14, 28));
    const float top = float(oy + ink.y0), bottom = float(oy + ink.y1);
    canvas.FillMask(letters, 0, 0, [&](Vec2 p) {
        float t = Clamp01((p.y - top) / std::max(1.0f, bottom - top));
        return Mix(style.top, style.bottom, t);
    });
    return canvas;
}

Canvas MakeBanner(int w, const std::string& text, Color glow) {
    // Long texts use the condensed face so that the letters stay tall: each
    // of the ten 17-row strips the game cuts then carries a slice of them.
    const bool condensed = text.size() * 75 > size_t(w);
    TextBlock block{{text}, Align::Center, 1.0f};
    LabelStyle style;
    style.outline = 4.0f;
    style.shadow_dx = 6;
    style.shadow_dy = 6;
    style.shadow_blur = 3;
    style.glow = glow;
    style.glow_radius = 7;
    style.pad = 12;
    style.bottom = Mix(Rgb(255, 255, 255), glow, 0.28f);
    style.bottom.a = 1.0f;
    return MakeTextImage(w, 170, condensed ? kFontCondensedBold : kFontBold, block, style);
}

}  // namespace assetgen

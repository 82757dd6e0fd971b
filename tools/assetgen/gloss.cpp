#include "gloss.h"

#include "sdf.h"

namespace assetgen {

namespace {

float Height(const Sdf& shape, Vec2 p, float bevel) {
    float depth = std::max(0.0f, -shape(p));
    float t = std::min(depth / bevel, 1.0f);
    return std::sqrt(std::max(0.0f, 1.0f - (1.0f - t) * (1.0f - t))) * bevel;
}

struct V3 {
    float x, y, z;
};
V3 Normalize(V3 v) {
    float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
float Dot3(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

void FillGlossy(Canvas& canvas, const Sdf& shape, const GlossStyle& style) {
    const V3 light = Normalize({-0.55f, -0.75f, 0.9f});
    const V3 half = Normalize({light.x, light.y, light.z + 1.0f});
    const Color dark = Scale(style.base, 0.28f);
    canvas.Fill(shape, [&](Vec2 p) {
        const float e = 0.5f;
        float hx = Height(shape, {p.x + e, p.y}, style.bevel) - Height(shape, {p.x - e, p.y}, style.bevel);
        float hy = Height(shape, {p.x, p.y + e}, style.bevel) - Height(shape, {p.x, p.y - e}, style.bevel);
        V3 n = Normalize({-hx / (2 * e), -hy / (2 * e), 1.0f});
        float diffuse = std::max(0.0f, Dot3(n, light));
        float sheen = std::pow(std::max(0.0f, Dot3(n, half)), style.specular_power);
        float depth = -shape(p);

        Color c = Scale(style.base, 0.30f + 0.85f * diffuse);
        // Bounce light: the lower right inner edge picks up a lighter tint.
        float bounce = Clamp01(-n.x * 0.3f + n.y * 0.9f) * SmoothStep(0.0f, style.bevel * 0.6f, depth) *
                       (1.0f - SmoothStep(style.bevel * 0.6f, style.bevel * 1.2f, depth));
        c = Mix(c, Mix(style.base, Rgb(255, 255, 255), 0.45f), bounce * 0.45f);
        // Specular spot.
        c = Mix(c, Rgb(255, 255, 255), Clamp01(sheen * style.shine));
        // Window highlight: a soft-edged ellipse, brighter at its top.
        if (style.highlight_radii.x > 0) {
            Vec2 q = sdf::Rotate(p - style.highlight_center, -style.highlight_angle);
            float d = sdf::Ellipse(q, {0, 0}, style.highlight_radii.x, style.highlight_radii.y);
            float inside = 1.0f - SmoothStep(-1.5f, 0.8f, d);
            float fade = Clamp01(0.95f - (q.y / style.highlight_radii.y + 1.0f) * 0.38f);
            c = Mix(c, Rgb(255, 255, 255), inside * fade * 0.85f * style.shine);
        }
        // Dark rim.
        float rim = 1.0f - SmoothStep(style.rim * 0.5f, style.rim * 1.5f, depth);
        c = Mix(c, dark, rim * 0.9f);
        c.a = 1.0f;
        return c;
    });
}

void FillSoftShadow(Canvas& canvas, const Sdf& shape, Vec2 offset, float blur, float alpha) {
    canvas.Fill([&](Vec2 p) { return shape(p - offset) - blur; },
                [&](Vec2 p) {
                    float d = shape(p - offset);
                    float a = 1.0f - SmoothStep(-blur, blur, d);
                    return Color{0.0f, 0.0f, 0.02f, a * alpha};
                });
}

}  // namespace assetgen

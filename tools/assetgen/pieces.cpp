#include "pieces.h"

#include "gloss.h"
#include "palette.h"
#include "sdf.h"

namespace assetgen {

namespace {

constexpr int kSize = 48;
constexpr int kSuper = 4;

// Each shape in final-pixel coordinates around the centre (24, 24).
float PieceShape(int colour, Vec2 p) {
    const Vec2 c{24, 24};
    switch (colour) {
        case 0: return sdf::Circle(p, c, 21.5f);
        case 1: return sdf::RoundBox(p, c, {19.5f, 19.5f}, 7.5f);
        case 2: return sdf::RoundBox(sdf::Rotate(p - c, 45) + c, c, {17.6f, 17.6f}, 5.0f);
        case 3: return std::fabs(Length(p - c) - 15.0f) - 7.8f;  // a ring
        case 4: return sdf::Capsule(p, {13.0f, 35.0f}, {35.0f, 13.0f}, 11.5f);
        default: return sdf::Star(p, {24, 25}, 23.5f, 12.0f, 5, 3.2f);
    }
}

struct Highlight {
    Vec2 center, radii;
    float angle;
};

Highlight PieceHighlight(int colour) {
    switch (colour) {
        case 0: return {{17, 14}, {9.5f, 5.5f}, -35};
        case 1: return {{17, 13}, {10.0f, 4.5f}, -20};
        case 2: return {{18, 15}, {7.5f, 4.0f}, -45};
        case 3: return {{16, 13}, {6.5f, 3.0f}, -40};
        case 4: return {{17, 17}, {8.5f, 4.0f}, -45};
        default: return {{20, 16}, {5.0f, 3.0f}, -30};
    }
}

}  // namespace

Canvas MakePiece(int colour) {
    const float f = kSuper;
    Canvas big(kSize * kSuper, kSize * kSuper);
    auto shape = [colour, f](Vec2 p) { return PieceShape(colour, p * (1.0f / f)) * f; };
    Highlight h = PieceHighlight(colour);
    GlossStyle style;
    style.base = PieceHue(colour);
    style.bevel = (colour == 0 ? 21.5f : colour == 3 ? 7.8f : colour == 5 ? 7.0f : 9.0f) * f;
    style.rim = 1.7f * f;
    style.highlight_center = h.center * f;
    style.highlight_radii = h.radii * f;
    style.highlight_angle = h.angle;
    if (colour == 4) {
        // A two-part capsule: the lower half is a paler tint of the hue.
        FillGlossy(big, shape, style);
        GlossStyle pale = style;
        pale.base = Mix(style.base, Rgb(255, 255, 255), 0.55f);
        pale.highlight_radii = {0, 0};
        Sdf lower = [&](Vec2 p) {
            Vec2 q = p * (1.0f / f);
            return std::max(shape(p), -(q.y - q.x) * 0.7071f * f);
        };
        FillGlossy(big, lower, pale);
        // The seam of the capsule.
        big.Fill([&](Vec2 p) {
                     Vec2 q = p * (1.0f / f);
                     return std::max(shape(p) + 1.5f * f, (std::fabs(q.y - q.x) * 0.7071f - 0.6f) * f);
                 },
                 WithAlpha(Scale(style.base, 0.35f), 0.9f));
        // Restore the highlight over both halves.
        GlossStyle gloss_only = style;
        big.Fill(
            [&](Vec2 p) {
                Vec2 q = sdf::Rotate(p - gloss_only.highlight_center, -gloss_only.highlight_angle);
                return sdf::Ellipse(q, {0, 0}, gloss_only.highlight_radii.x, gloss_only.highlight_radii.y);
            },
            [&](Vec2 p) {
                Vec2 q = sdf::Rotate(p - gloss_only.highlight_center, -gloss_only.highlight_angle);
                float fade = Clamp01(0.95f - (q.y / gloss_only.highlight_radii.y + 1.0f) * 0.38f);
                return Color{1, 1, 1, 0.8f * fade};
            });
    } else {
        FillGlossy(big, shape, style);
    }
    return big.Downsample(kSuper);
}

}  // namespace assetgen

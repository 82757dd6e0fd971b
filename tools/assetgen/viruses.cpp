#include "viruses.h"

#include "gloss.h"
#include "palette.h"
#include "rng.h"
#include "sdf.h"

namespace assetgen {

namespace {

enum class Mouth { Fangs, Grin, Smirk, Oh, Tongue, Teeth };
enum class Eyes { Angry, Round, Sly, Wide, Wink, Crazy };

struct Look {
    int spikes;
    float spike_phase;  // degrees
    float wobble_phase;
    Eyes eyes;
    Mouth mouth;
    Vec2 gaze;  // pupil offset, unit coordinates
};

Look LookOf(int colour) {
    static const Look looks[kColours] = {
        {9, 10, 0.3f, Eyes::Angry, Mouth::Fangs, {0.03f, 0.04f}},
        {10, 0, 1.7f, Eyes::Round, Mouth::Grin, {0.05f, -0.05f}},
        {8, 22, 2.9f, Eyes::Sly, Mouth::Smirk, {0.07f, 0.02f}},
        {11, 5, 4.1f, Eyes::Wide, Mouth::Oh, {0.0f, 0.0f}},
        {9, 30, 5.3f, Eyes::Wink, Mouth::Tongue, {-0.04f, 0.03f}},
        {12, 14, 0.9f, Eyes::Crazy, Mouth::Teeth, {0.0f, 0.0f}},
    };
    return looks[colour];
}

// A drawing context in unit coordinates: the body has radius 1 around (0, 0).
struct Painter {
    Canvas& canvas;
    Vec2 center;
    float radius;  // pixels per unit
    Sdf Px(std::function<float(Vec2)> unit) const {
        Vec2 c = center;
        float r = radius;
        return [unit, c, r](Vec2 p) { return unit((p - c) * (1.0f / r)) * r; };
    }
    Vec2 ToPx(Vec2 u) const { return center + u * radius; }
    void Fill(std::function<float(Vec2)> unit, Color c) { canvas.Fill(Px(unit), c); }
    void Fill(std::function<float(Vec2)> unit, const Shader& s) { canvas.Fill(Px(unit), s); }
};

float BodyShape(Vec2 q, float phase) {
    float angle = std::atan2(q.y, q.x);
    float r = 1.0f + 0.018f * std::sin(5 * angle + phase) + 0.012f * std::sin(9 * angle + 2 * phase);
    return Length(q) - r;
}

void DrawSpikes(Painter& pt, const Look& look, Color hue, bool detailed) {
    Color stalk = Scale(hue, 0.75f);
    Color knob = Mix(hue, Rgb(255, 255, 255), 0.15f);
    for (int i = 0; i < look.spikes; ++i) {
        float a = (look.spike_phase + 360.0f * i / look.spikes) * sdf::kPi / 180.0f;
        // Slightly uneven lengths make the creature look alive.
        float len = 1.27f + 0.05f * std::sin(i * 2.3f + look.wobble_phase);
        Vec2 dir{std::cos(a), std::sin(a)};
        Vec2 from = dir * 0.8f, to = dir * len;
        GlossStyle s;
        s.base = stalk;
        s.bevel = 0.07f * pt.radius;
        s.rim = 0.035f * pt.radius;
        s.shine = 0.4f;
        FillGlossy(pt.canvas, pt.Px([=](Vec2 q) { return sdf::Capsule(q, from, to, 0.075f); }), s);
        GlossStyle k = s;
        k.base = knob;
        k.bevel = 0.14f * pt.radius;
        k.shine = 0.9f;
        Vec2 kc = dir * (len + 0.04f);
        k.highlight_center = pt.ToPx(kc + Vec2{-0.05f, -0.06f});
        k.highlight_radii = Vec2{0.06f, 0.035f} * pt.radius;
        FillGlossy(pt.canvas, pt.Px([=](Vec2 q) { return sdf::Circle(q, kc, 0.15f); }), k);
        if (detailed) {
            // A ring where the stalk meets the knob.
            pt.Fill([=](Vec2 q) { return sdf::Capsule(q, dir * (len - 0.14f) + Vec2{-dir.y, dir.x} * 0.09f,
                                                       dir * (len - 0.14f) - Vec2{-dir.y, dir.x} * 0.09f, 0.025f); },
                    WithAlpha(Scale(hue, 0.4f), 0.8f));
        }
    }
}

void DrawBody(Painter& pt, const Look& look, Color hue, int colour, bool detailed) {
    GlossStyle s;
    s.base = hue;
    s.bevel = 1.0f * pt.radius;
    s.rim = 0.07f * pt.radius;
    s.highlight_center = pt.ToPx({-0.42f, -0.55f});
    s.highlight_radii = Vec2{0.34f, 0.17f} * pt.radius;
    s.highlight_angle = -32;
    float phase = look.wobble_phase;
    auto body = [phase](Vec2 q) { return BodyShape(q, phase); };
    FillGlossy(pt.canvas, pt.Px(body), s);

    // Blotches on the skin, clipped to the body and kept off the face.
    Rng rng(1000 + uint64_t(colour));
    int blotches = detailed ? 14 : 7;
    for (int i = 0; i < blotches; ++i) {
        float a = rng.Range(0, 2 * sdf::kPi), d = rng.Range(0.45f, 0.9f);
        Vec2 c{std::cos(a) * d, std::sin(a) * d};
        float r = rng.Range(0.06f, detailed ? 0.13f : 0.12f);
        if (c.y > -0.45f && c.y < 0.65f && std::fabs(c.x) < 0.8f) continue;  // the face
        pt.Fill([=](Vec2 q) { return std::max(sdf::Circle(q, c, r), body(q) + 0.08f); },
                [=](Vec2 p) {
                    (void)p;
                    return WithAlpha(Scale(hue, 0.62f), 0.55f);
                });
        if (detailed)
            pt.Fill([=](Vec2 q) { return std::max(sdf::Circle(q, c + Vec2{-r * 0.3f, -r * 0.3f}, r * 0.35f),
                                                  body(q) + 0.08f); },
                    WithAlpha(Mix(hue, Rgb(255, 255, 255), 0.5f), 0.35f));
    }
    if (detailed) {
        Rng speck(2000 + uint64_t(colour));
        for (int i = 0; i < 30; ++i) {
            float a = speck.Range(0, 2 * sdf::kPi), d = std::sqrt(speck.Unit()) * 0.92f;
            Vec2 c{std::cos(a) * d, std::sin(a) * d};
            if (c.y > -0.5f && c.y < 0.7f && std::fabs(c.x) < 0.85f) continue;
            float r = speck.Range(0.012f, 0.025f);
            pt.Fill([=](Vec2 q) { return sdf::Circle(q, c, r); }, WithAlpha(Scale(hue, 0.5f), 0.5f));
        }
    }
}

const Color kInk = Rgb(22, 10, 26);
const Color kMouth = Rgb(58, 8, 22);
const Color kTongue = Rgb(250, 96, 130);
const Color kWhite = Rgb(252, 252, 250);

void DrawEye(Painter& pt, Vec2 c, float rx, float ry, Vec2 gaze, float pupil) {
    pt.Fill([=](Vec2 q) { return sdf::Ellipse(q, c, rx + 0.055f, ry + 0.055f); }, kInk);
    float top = c.y - ry;
    pt.Fill([=](Vec2 q) { return sdf::Ellipse(q, c, rx, ry); },
            [&, top, ry](Vec2 p) {
                float v = ((p.y - pt.center.y) / pt.radius - top) / (2 * ry);
                return Mix(kWhite, Rgb(196, 204, 222), SmoothStep(0.45f, 1.0f, v));
            });
    Vec2 pc = c + gaze;
    pt.Fill([=](Vec2 q) { return std::max(sdf::Circle(q, pc, pupil), sdf::Ellipse(q, c, rx, ry)); }, kInk);
    pt.Fill([=](Vec2 q) { return sdf::Circle(q, pc + Vec2{-pupil * 0.38f, -pupil * 0.4f}, pupil * 0.34f); },
            kWhite);
}

void DrawBrow(Painter& pt, Vec2 a, Vec2 b, float thickness) {
    pt.Fill([=](Vec2 q) { return sdf::Capsule(q, a, b, thickness); }, kInk);
}

// A lid covering the eye above the line y = c.y + cut, in the body colour.
void DrawLid(Painter& pt, Vec2 c, float rx, float ry, float cut, float tilt, Color hue) {
    auto lid = [=](Vec2 q) {
        float line = (q.y - c.y - cut - tilt * (q.x - c.x));
        return std::max(sdf::Ellipse(q, c, rx + 0.06f, ry + 0.06f), line);
    };
    pt.Fill(lid, Scale(hue, 0.8f));
    pt.Fill([=](Vec2 q) {
        float line = std::fabs(q.y - c.y - cut - tilt * (q.x - c.x)) - 0.035f;
        return std::max(sdf::Ellipse(q, c, rx + 0.06f, ry + 0.06f), line);
    }, kInk);
}

void DrawFace(Painter& pt, const Look& look, Color hue, bool detailed) {
    const Vec2 le{-0.36f, -0.13f}, re{0.36f, -0.13f};
    const float rx = 0.25f, ry = 0.30f;
    Vec2 g = look.gaze;
    switch (look.eyes) {
        case Eyes::Angry:
            DrawEye(pt, le, rx, ry * 0.9f, g, 0.11f);
            DrawEye(pt, re, rx, ry * 0.9f, {-g.x, g.y}, 0.11f);
            DrawLid(pt, le, rx, ry * 0.9f, -0.1f, 0.55f, hue);
            DrawLid(pt, re, rx, ry * 0.9f, -0.1f, -0.55f, hue);
            DrawBrow(pt, {-0.68f, -0.52f}, {-0.14f, -0.28f}, 0.075f);
            DrawBrow(pt, {0.68f, -0.52f}, {0.14f, -0.28f}, 0.075f);
            break;
        case Eyes::Round:
            DrawEye(pt, le, rx * 1.05f, ry * 1.1f, g, 0.13f);
            DrawEye(pt, re, rx * 1.05f, ry * 1.1f, g, 0.13f);
            break;
        case Eyes::Sly:
            DrawEye(pt, le, rx, ry, g, 0.12f);
            DrawEye(pt, re, rx, ry, g, 0.12f);
            DrawLid(pt, le, rx, ry, 0.0f, -0.15f, hue);
            DrawLid(pt, re, rx, ry, 0.0f, 0.15f, hue);
            DrawBrow(pt, {-0.6f, -0.55f}, {-0.16f, -0.6f}, 0.05f);
            break;
        case Eyes::Wide:
            DrawEye(pt, {-0.36f, -0.16f}, rx * 1.12f, ry * 1.18f, g, 0.07f);
            DrawEye(pt, {0.36f, -0.16f}, rx * 1.12f, ry * 1.18f, g, 0.07f);
            DrawBrow(pt, {-0.58f, -0.66f}, {-0.2f, -0.72f}, 0.05f);
            DrawBrow(pt, {0.58f, -0.66f}, {0.2f, -0.72f}, 0.05f);
            break;
        case Eyes::Wink:
            DrawEye(pt, le, rx, ry, g, 0.12f);
            // The closed eye: a thick curved line.
            pt.Fill([=](Vec2 q) {
                Vec2 c = re + Vec2{0.0f, 0.12f};
                float ring = std::fabs(Length(q - c) - 0.22f) - 0.05f;
                return std::max(ring, q.y - (re.y + 0.04f));
            }, kInk);
            break;
        case Eyes::Crazy:
            DrawEye(pt, le, rx * 1.05f, ry, {0.06f, -0.04f}, 0.13f);
            DrawEye(pt, re, rx * 0.85f, ry * 0.85f, {-0.06f, 0.06f}, 0.08f);
            break;
    }

    const Vec2 mc{0.0f, 0.3f};
    switch (look.mouth) {
        case Mouth::Fangs: {
            // A wide snarl: a flattened shape with two fangs hanging down.
            auto snarl = [=](Vec2 q) {
                return std::max(sdf::Ellipse(q, mc + Vec2{0, 0.05f}, 0.42f, 0.2f), -(q.y - mc.y + 0.02f));
            };
            pt.Fill([=](Vec2 q) { return snarl(q) - 0.05f; }, kInk);
            pt.Fill(snarl, kMouth);
            for (float side : {-1.0f, 1.0f}) {
                Vec2 base = mc + Vec2{side * 0.2f, -0.0f};
                pt.Fill([=](Vec2 q) {
                    Vec2 l = q - base;
                    float tri = std::max(std::max(-l.y, l.y - 0.17f), std::fabs(l.x) - 0.06f * (1.0f - l.y / 0.17f));
                    return std::max(tri, snarl(q) - 0.01f);
                }, kWhite);
            }
            break;
        }
        case Mouth::Grin:
        case Mouth::Tongue: {
            auto grin = [=](Vec2 q) { return std::max(sdf::Ellipse(q, mc, 0.38f, 0.34f), -(q.y - mc.y)); };
            pt.Fill([=](Vec2 q) { return grin(q) - 0.05f; }, kInk);
            pt.Fill(grin, kMouth);
            if (look.mouth == Mouth::Grin) {
                pt.Fill([=](Vec2 q) { return std::max(grin(q), -(mc.y + 0.09f - q.y)); }, kWhite);
                pt.Fill([=](Vec2 q) { return std::max(sdf::Circle(q, mc + Vec2{0.05f, 0.38f}, 0.2f), grin(q)); },
                        kTongue);
            } else {
                // Tongue sticking out over the lower lip.
                auto tongue = [=](Vec2 q) {
                    return sdf::Union(sdf::Capsule(q, mc + Vec2{0.1f, 0.2f}, mc + Vec2{0.14f, 0.36f}, 0.13f),
                                      std::max(sdf::Circle(q, mc + Vec2{0.1f, 0.25f}, 0.14f), grin(q)));
                };
                pt.Fill([=](Vec2 q) { return tongue(q) - 0.045f; }, kInk);
                pt.Fill(tongue, kTongue);
                pt.Fill([=](Vec2 q) { return sdf::Capsule(q, mc + Vec2{0.12f, 0.24f}, mc + Vec2{0.13f, 0.38f}, 0.015f); },
                        WithAlpha(Rgb(190, 40, 80), 0.8f));
            }
            break;
        }
        case Mouth::Smirk: {
            auto smirk = [=](Vec2 q) {
                Vec2 l = sdf::Rotate(q - mc - Vec2{0.08f, 0.0f}, 14);
                float band = std::fabs(Length(l - Vec2{0, -0.34f}) - 0.34f) - 0.055f;
                return std::max(band, std::max(-l.y - 0.02f, std::fabs(l.x) - 0.3f));
            };
            pt.Fill(smirk, kInk);
            break;
        }
        case Mouth::Oh: {
            pt.Fill([=](Vec2 q) { return sdf::Ellipse(q, mc + Vec2{0, 0.1f}, 0.17f, 0.2f); }, kInk);
            pt.Fill([=](Vec2 q) { return sdf::Ellipse(q, mc + Vec2{0, 0.1f}, 0.12f, 0.15f); }, kMouth);
            pt.Fill([=](Vec2 q) { return std::max(sdf::Circle(q, mc + Vec2{0, 0.27f}, 0.09f),
                                                  sdf::Ellipse(q, mc + Vec2{0, 0.1f}, 0.12f, 0.15f)); },
                    kTongue);
            break;
        }
        case Mouth::Teeth: {
            auto mouth = [=](Vec2 q) { return sdf::RoundBox(q, mc + Vec2{0, 0.1f}, {0.44f, 0.17f}, 0.14f); };
            pt.Fill([=](Vec2 q) { return mouth(q) - 0.05f; }, kInk);
            pt.Fill(mouth, kWhite);
            // Gaps between the teeth and the line between the jaws.
            pt.Fill([=](Vec2 q) {
                float line = std::fabs(q.y - (mc.y + 0.1f)) - 0.025f;
                float gaps = 1e9f;
                for (int i = -3; i <= 3; ++i) gaps = std::min(gaps, std::fabs(q.x - i * 0.12f) - 0.018f);
                return std::max(std::min(line, gaps), mouth(q));
            }, kInk);
            break;
        }
    }
    if (detailed) {
        // Cheek blush.
        for (float side : {-1.0f, 1.0f})
            pt.Fill([=](Vec2 q) { return sdf::Ellipse(q, {side * 0.62f, 0.28f}, 0.13f, 0.07f); },
                    WithAlpha(Mix(hue, Rgb(255, 120, 160), 0.6f), 0.45f));
    }
}

}  // namespace

Canvas MakeVirus(int colour, int size) {
    const int super = size <= 64 ? 4 : 2;
    const bool detailed = size > 64;
    Canvas big(size * super, size * super);
    Color hue = PieceHue(colour);
    Look look = LookOf(colour);
    float s = float(size * super);
    Painter pt{big, {s * 0.5f, s * 0.5f}, s * 0.315f};
    DrawSpikes(pt, look, hue, detailed);
    DrawBody(pt, look, hue, colour, detailed);
    DrawFace(pt, look, hue, detailed);
    return big.Downsample(super);
}

}  // namespace assetgen

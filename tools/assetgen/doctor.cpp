#include "doctor.h"

#include "gloss.h"
#include "palette.h"
#include "sdf.h"

namespace assetgen {

namespace {

// Shapes in the base frame of the small picture (140 × 81 units).
struct Frame {
    Canvas& canvas;
    Vec2 origin;
    float scale;
    Sdf Px(std::function<float(Vec2)> f) const {
        Vec2 o = origin;
        float s = scale;
        return [f, o, s](Vec2 p) { return f((p - o) * (1.0f / s)) * s; };
    }
    Vec2 ToPx(Vec2 u) const { return origin + u * scale; }
    void Flat(std::function<float(Vec2)> f, Color c) { canvas.Fill(Px(f), c); }
    void Gloss(std::function<float(Vec2)> f, Color c, float bevel, float shine = 0.6f,
               Vec2 hc = {0, 0}, Vec2 hr = {0, 0}, float angle = -30) {
        GlossStyle s;
        s.base = c;
        s.bevel = bevel * scale;
        s.rim = 1.1f * scale;
        s.shine = shine;
        s.specular_power = 30;
        s.highlight_center = ToPx(hc);
        s.highlight_radii = hr * scale;
        s.highlight_angle = angle;
        FillGlossy(canvas, Px(f), s);
    }
};

const Color kCoat = Rgb(236, 242, 250);
const Color kSkin = Rgb(246, 196, 160);
const Color kHair = Rgb(92, 56, 34);
const Color kMetal = Rgb(170, 180, 196);
const Color kInk = Rgb(24, 20, 34);
const Color kScrubs = Rgb(48, 156, 160);

}  // namespace

void DrawDoctor(Canvas& canvas, Vec2 origin, float scale, bool full) {
    Frame f{canvas, origin, scale};
    const float hem = full ? 104.0f : 90.0f;

    if (full) {
        // Legs in scrub trousers and dark shoes.
        f.Gloss([](Vec2 q) { return sdf::Capsule(q, {60, 96}, {56, 128}, 7.5f); }, Scale(kScrubs, 0.8f), 5);
        f.Gloss([](Vec2 q) { return sdf::Capsule(q, {76, 96}, {80, 128}, 7.5f); }, kScrubs, 5);
        f.Gloss([](Vec2 q) { return sdf::RoundBox(q, {58, 134}, {11, 5}, 4.5f); }, Rgb(40, 40, 52), 4, 0.9f,
                {54, 131}, {4, 1.5f});
        f.Gloss([](Vec2 q) { return sdf::RoundBox(q, {84, 134}, {11, 5}, 4.5f); }, Rgb(48, 48, 60), 4, 0.9f,
                {80, 131}, {4, 1.5f});
    }

    // The pill tank on the back, on a shoulder strap.
    f.Flat([](Vec2 q) { return sdf::Capsule(q, {40, 30}, {64, 44}, 2.6f); }, Rgb(70, 78, 96));
    f.Gloss([](Vec2 q) { return sdf::RoundBox(q, {32, 46}, {13, 27}, 11); }, Rgb(120, 200, 230), 9, 0.8f,
            {27, 34}, {4, 12}, -8);
    // Pills seen through the glass.
    const Vec2 pills[] = {{27, 56}, {37, 58}, {31, 47}, {38, 40}, {27, 37}, {33, 29}};
    for (int i = 0; i < 6; ++i) {
        Vec2 c = pills[i];
        f.Gloss([c](Vec2 q) { return sdf::Circle(q, c, 4.3f); }, PieceHue(i), 4.3f, 0.9f,
                c + Vec2{-1.3f, -1.5f}, {1.6f, 1.0f});
    }
    f.Flat([](Vec2 q) { return sdf::RoundBox(q, {32, 46}, {13, 27}, 11) + 0.5f; },
           Color{0.7f, 0.9f, 1.0f, 0.18f});
    f.Gloss([](Vec2 q) { return sdf::RoundBox(q, {32, 21}, {14, 4}, 3); }, kMetal, 3, 0.9f);
    f.Gloss([](Vec2 q) { return sdf::RoundBox(q, {32, 72}, {14, 4}, 3); }, kMetal, 3, 0.9f);

    // Coat: shoulders to hem, flaring a little at the back.
    auto coat = [hem](Vec2 q) {
        float body = sdf::RoundBox(q, {69, (40 + hem) * 0.5f}, {21, (hem - 40) * 0.5f}, 12);
        float tail = sdf::Capsule(q, {58, 56}, {50, hem - 6}, 9);
        return sdf::SmoothUnion(body, tail, 6);
    };
    f.Gloss(coat, kCoat, 10, 0.35f);
    // Scrubs showing at the collar, lapel line and pocket.
    f.Flat([](Vec2 q) { return std::max(sdf::Circle(q, {82, 38}, 7), -(q.y - 36)); }, kScrubs);
    f.Flat([hem](Vec2 q) { return sdf::Capsule(q, {86, 44}, {84, hem - 4}, 0.7f); }, Rgb(170, 180, 200));
    f.Flat([](Vec2 q) { return sdf::RoundBox(q, {79, 62}, {5, 4}, 1.5f) ; }, Rgb(200, 210, 226));
    f.Flat([](Vec2 q) { return sdf::Capsule(q, {77, 56}, {77, 60}, 1.0f); }, Rgb(40, 90, 220));
    // Head: hair at the back, face to the right, a head mirror on the brow.
    f.Gloss([](Vec2 q) { return sdf::Circle(q, {72, 21}, 15); }, kSkin, 12, 0.3f);
    // Hair covers the top and the back of the head; the face looks right.
    f.Gloss([](Vec2 q) {
        float head = sdf::Circle(q, {71.5f, 20}, 16.2f);
        float back = q.x - 75.0f + (q.y - 6.0f) * 0.55f;
        float top = q.y - 11.0f + (q.x - 70.0f) * 0.1f;
        return std::max(head, std::min(back, top));
    }, kHair, 6, 0.5f, {64, 9}, {6, 2.5f}, -20);
    f.Gloss([](Vec2 q) { return sdf::Circle(q, {68.5f, 23}, 4); }, Scale(kSkin, 0.9f), 3, 0.2f);  // ear
    f.Flat([](Vec2 q) { return sdf::Circle(q, {87.5f, 24}, 3.2f); }, Scale(kSkin, 0.92f));     // nose
    f.Flat([](Vec2 q) { return sdf::Ellipse(q, {81.5f, 19.5f}, 1.8f, 2.4f); }, kInk);          // eye
    f.Flat([](Vec2 q) {
        float arc = std::fabs(Length(q - Vec2{82, 26}) - 4.0f) - 0.8f;
        return std::max(arc, std::max(-(q.y - 28), -(q.x - 81)));
    }, Rgb(150, 70, 60));  // smile
    f.Flat([](Vec2 q) { return sdf::Capsule(q, {66, 9}, {85, 12}, 1.3f); }, Rgb(60, 60, 76));  // band
    f.Gloss([](Vec2 q) { return sdf::Circle(q, {85, 9.5f}, 5); }, Rgb(210, 220, 236), 5, 1.0f, {83.5f, 8},
            {1.8f, 1.0f});

    // Syringe held up in front, pointing up and to the right.
    const Vec2 back{100, 66}, tip{126, 14};
    Vec2 dir = (tip - back) * (1.0f / Length(tip - back));
    Vec2 side{-dir.y, dir.x};
    f.Flat([=](Vec2 q) { return sdf::Capsule(q, tip, tip + dir * 9.0f, 0.8f); }, Rgb(210, 216, 230));
    f.Gloss([=](Vec2 q) { return sdf::Capsule(q, back + dir * 6.0f, tip, 6.5f); }, Rgb(190, 235, 250), 5, 0.9f,
            back + dir * 26.0f + side * 3.0f, {9, 1.5f}, std::atan2(dir.y, dir.x) * 180 / sdf::kPi);
    f.Flat([=](Vec2 q) { return sdf::Capsule(q, back + dir * 9.0f, back + dir * 36.0f, 4.2f); },
           WithAlpha(Rgb(60, 230, 120), 0.85f));
    for (int i = 1; i <= 4; ++i) {
        Vec2 m = back + dir * (10.0f + i * 8.0f);
        f.Flat([=](Vec2 q) { return sdf::Capsule(q, m - side * 6.0f, m - side * 2.5f, 0.6f); }, kInk);
    }
    f.Gloss([=](Vec2 q) { return sdf::Capsule(q, back - side * 9.0f, back + side * 9.0f, 2.2f); }, kMetal, 2);
    f.Gloss([=](Vec2 q) { return sdf::Capsule(q, back, back - dir * 8.0f, 2.0f); }, kMetal, 2);
    f.Gloss([=](Vec2 q) { return sdf::Capsule(q, back - dir * 8.0f - side * 5.0f, back - dir * 8.0f + side * 5.0f, 2.0f); },
            kMetal, 2);
    // Arms: sleeves from the shoulder to the hands on the syringe.
    f.Gloss([](Vec2 q) { return sdf::Capsule(q, {76, 46}, {100, 56}, 6.0f); }, Scale(kCoat, 0.92f), 5, 0.3f);
    f.Gloss([](Vec2 q) { return sdf::Circle(q, {103, 55}, 4.6f); }, kSkin, 4, 0.3f);
    f.Gloss([](Vec2 q) { return sdf::Capsule(q, {62, 46}, {108, 40}, 5.5f); }, kCoat, 5, 0.3f);
    f.Gloss([](Vec2 q) { return sdf::Circle(q, {111, 40}, 4.6f); }, kSkin, 4, 0.3f);
}

Canvas MakeDoctor() {
    const int super = 4;
    Canvas big(140 * super, 81 * super);
    DrawDoctor(big, {0, 0}, float(super), false);
    return big.Downsample(super);
}

Canvas MakeDoctorLarge() {
    const int super = 3;
    Canvas big(158 * super, 168 * super);
    // The base frame is 140 wide; the full figure spans y 0..139.
    const float scale = 1.12f;
    Vec2 origin{(158 - 140 * scale) * 0.5f - 4.0f, 6.0f};
    DrawDoctor(big, origin * float(super), scale * super, true);
    return big.Downsample(super);
}

}  // namespace assetgen

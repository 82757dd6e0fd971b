// A floating-point RGBA canvas (premultiplied alpha) with anti-aliased
// shape filling from signed distance functions, alpha masks and blurs.
// Every picture of the game is drawn on one of these and then written as
// 8-bit RGBA.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

// Straight (not premultiplied) colour, components 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};
inline Color Rgb(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}
inline Color Mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}
inline Color Scale(Color c, float s) { return {c.r * s, c.g * s, c.b * s, c.a}; }
inline Color WithAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float SmoothStep(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Signed distance in pixels: negative inside the shape.
using Sdf = std::function<float(Vec2)>;
// Colour of the shape at a point (straight alpha).
using Shader = std::function<Color(Vec2)>;

// One channel of coverage, 0..1.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w_, int h_) : w(w_), h(h_), v(size_t(w_) * h_, 0.0f) {}
    float At(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
        return v[size_t(y) * w + x];
    }
    float& Ref(int x, int y) { return v[size_t(y) * w + x]; }
};

// Gaussian-like blur made of three box passes of the given radius.
Mask Blur(const Mask& m, int radius);
// Grows the covered area by `radius` pixels (a round structuring element).
Mask Dilate(const Mask& m, float radius);
// The mask moved by (dx, dy) whole pixels.
Mask Shift(const Mask& m, int dx, int dy);

class Canvas {
public:
    Canvas(int w, int h);
    int Width() const { return w_; }
    int Height() const { return h_; }

    // Composites `c` (straight alpha) over the pixel, weighted by `coverage`.
    void Blend(int x, int y, Color c, float coverage = 1.0f);
    // Adds light: the colour weighted by its alpha is added to the pixel.
    void Add(int x, int y, Color c, float coverage = 1.0f);

    // Fills the shape given by `sdf` with `shader`; the edge is anti-aliased
    // over one pixel. Only pixels inside [x0,x1)×[y0,y1) are visited.
    void Fill(const Sdf& sdf, const Shader& shader);
    void Fill(const Sdf& sdf, Color c);
    // Composites a mask in one colour, or through a shader, at an offset.
    void FillMask(const Mask& m, int ox, int oy, Color c);
    void FillMask(const Mask& m, int ox, int oy, const Shader& shader);
    // Draws another canvas over this one at an offset.
    void Draw(const Canvas& src, int ox, int oy, float alpha = 1.0f);
    // Alpha of a pixel (premultiplied store).
    float AlphaAt(int x, int y) const;
    Mask AlphaMask() const;

    // 8-bit straight RGBA, rows top to bottom.
    std::vector<uint8_t> ToRgba8() const;
    // Box-filter reduction by an integer factor (for supersampled drawing).
    Canvas Downsample(int factor) const;

private:
    int w_, h_;
    std::vector<float> px_;  // r, g, b, a premultiplied
};

}  // namespace assetgen

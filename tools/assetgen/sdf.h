// Signed distance functions for the shapes the pictures are built from
// (distances in pixels, negative inside).
#pragma once

#include "canvas.h"

namespace assetgen::sdf {

constexpr float kPi = 3.14159265358979f;

inline Vec2 Rotate(Vec2 p, float degrees) {
    float a = degrees * kPi / 180.0f, c = std::cos(a), s = std::sin(a);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}

inline float Circle(Vec2 p, Vec2 c, float r) { return Length(p - c) - r; }

// Approximate ellipse distance (good enough for anti-aliasing at the edge).
inline float Ellipse(Vec2 p, Vec2 c, float rx, float ry) {
    Vec2 q = p - c;
    float k0 = Length({q.x / rx, q.y / ry});
    float k1 = Length({q.x / (rx * rx), q.y / (ry * ry)});
    if (k1 == 0.0f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
}

inline float RoundBox(Vec2 p, Vec2 c, Vec2 half, float radius) {
    Vec2 q{std::fabs(p.x - c.x) - half.x + radius, std::fabs(p.y - c.y) - half.y + radius};
    Vec2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
    return Length(outside) + std::min(std::max(q.x, q.y), 0.0f) - radius;
}

// A segment from a to b with round ends of radius r.
inline float Capsule(Vec2 p, Vec2 a, Vec2 b, float r) {
    Vec2 pa = p - a, ba = b - a;
    float h = Clamp01(Dot(pa, ba) / Dot(ba, ba));
    return Length(pa - ba * h) - r;
}

// Regular polygon with n corners (first corner straight up), rounded by r.
inline float Polygon(Vec2 p, Vec2 c, float radius, int n, float rounding, float rotation = 0) {
    Vec2 q = Rotate(p - c, -rotation);
    float angle = std::atan2(q.x, -q.y);
    float sector = 2 * kPi / n;
    float a = std::fmod(angle + sector * 0.5f + 20 * kPi, sector) - sector * 0.5f;
    float len = Length(q);
    Vec2 local{len * std::cos(a), len * std::sin(a)};
    float apothem = (radius - rounding) * std::cos(kPi / n);
    float half = (radius - rounding) * std::sin(kPi / n);
    // Distance to the edge segment x = apothem, |y| <= half.
    float dx = local.x - apothem;
    float dy = std::max(std::fabs(local.y) - half, 0.0f);
    float d = dx > 0 ? std::sqrt(dx * dx + dy * dy) : (dy > 0 ? std::sqrt(dx * dx + dy * dy) : dx);
    if (dx <= 0 && dy <= 0) d = dx;
    return d - rounding;
}

// A star with n points, outer radius ro, inner radius ri, rounded by r.
inline float Star(Vec2 p, Vec2 c, float ro, float ri, int n, float rounding) {
    Vec2 q = p - c;
    float angle = std::atan2(q.x, -q.y);
    float sector = 2 * kPi / n;
    float a = std::fabs(std::fmod(angle + 20 * kPi, sector) - sector * 0.5f);
    // a: angle from the sector's middle (an inner corner) ... map so 0 is a point.
    a = sector * 0.5f - a;
    float len = Length(q);
    Vec2 local{len * std::cos(a), len * std::sin(a)};
    Vec2 tip{ro - rounding, 0};
    Vec2 inner{(ri - rounding) * std::cos(sector * 0.5f), (ri - rounding) * std::sin(sector * 0.5f)};
    Vec2 e = inner - tip;
    Vec2 w = local - tip;
    float h = Clamp01(Dot(w, e) / Dot(e, e));
    float dist = Length(w - e * h);
    float cross = e.x * w.y - e.y * w.x;
    return (cross > 0 ? -dist : dist) - rounding;
}

inline float Union(float a, float b) { return std::min(a, b); }
inline float Intersect(float a, float b) { return std::max(a, b); }
inline float Subtract(float a, float b) { return std::max(a, -b); }
inline float SmoothUnion(float a, float b, float k) {
    float h = Clamp01(0.5f + 0.5f * (b - a) / k);
    return b + (a - b) * h - k * h * (1 - h);
}

}  // namespace assetgen::sdf

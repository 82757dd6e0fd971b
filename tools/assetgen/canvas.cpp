#include "canvas.h"

namespace assetgen {

namespace {

void BoxPass(const std::vector<float>& in, std::vector<float>& out, int w, int h,
             int radius, bool horizontal) {
    const int n = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    const float inv = 1.0f / float(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> float {
            if (i < 0 || i >= n) return 0.0f;
            return horizontal ? in[size_t(line) * w + i] : in[size_t(i) * w + line];
        };
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i) sum += at(i);
        for (int i = 0; i < n; ++i) {
            float value = sum * inv;
            if (horizontal)
                out[size_t(line) * w + i] = value;
            else
                out[size_t(i) * w + line] = value;
            sum += at(i + radius + 1) - at(i - radius);
        }
    }
}

}  // namespace

Mask Blur(const Mask& m, int radius) {
    if (radius <= 0) return m;
    Mask out = m;
    std::vector<float> tmp(m.v.size());
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(out.v, tmp, m.w, m.h, radius, true);
        BoxPass(tmp, out.v, m.w, m.h, radius, false);
    }
    return out;
}

Mask Dilate(const Mask& m, float radius) {
    Mask out(m.w, m.h);
    const int r = int(std::ceil(radius));
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    float d = std::sqrt(float(dx * dx + dy * dy));
                    float weight = Clamp01(radius + 0.5f - d);
                    if (weight <= 0.0f) continue;
                    best = std::max(best, m.At(x + dx, y + dy) * weight);
                }
            }
            out.Ref(x, y) = best;
        }
    }
    return out;
}

Mask Shift(const Mask& m, int dx, int dy) {
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) out.Ref(x, y) = m.At(x - dx, y - dy);
    return out;
}

Canvas::Canvas(int w, int h) : w_(w), h_(h), px_(size_t(w) * h * 4, 0.0f) {}

void Canvas::Blend(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    float a = Clamp01(c.a * coverage);
    if (a <= 0.0f) return;
    float* p = &px_[(size_t(y) * w_ + x) * 4];
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void Canvas::Add(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    float a = Clamp01(c.a * coverage);
    float* p = &px_[(size_t(y) * w_ + x) * 4];
    p[0] = std::min(1.0f, p[0] + c.r * a);
    p[1] = std::min(1.0f, p[1] + c.g * a);
    p[2] = std::min(1.0f, p[2] + c.b * a);
    p[3] = std::min(1.0f, std::max(p[3], std::max(p[0], std::max(p[1], p[2]))));
}

void Canvas::Fill(const Sdf& sdf, const Shader& shader) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            Vec2 p{x + 0.5f, y + 0.5f};
            float d = sdf(p);
            float coverage = Clamp01(0.5f - d);
            if (coverage <= 0.0f) continue;
            Blend(x, y, shader(p), coverage);
        }
    }
}

void Canvas::Fill(const Sdf& sdf, Color c) {
    Fill(sdf, [c](Vec2) { return c; });
}

void Canvas::FillMask(const Mask& m, int ox, int oy, Color c) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float v = m.v[size_t(y) * m.w + x];
            if (v > 0.0f) Blend(x + ox, y + oy, c, v);
        }
}

void Canvas::FillMask(const Mask& m, int ox, int oy, const Shader& shader) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            float v = m.v[size_t(y) * m.w + x];
            if (v > 0.0f) Blend(x + ox, y + oy, shader({x + ox + 0.5f, y + oy + 0.5f}), v);
        }
}

void Canvas::Draw(const Canvas& src, int ox, int oy, float alpha) {
    for (int y = 0; y < src.h_; ++y) {
        for (int x = 0; x < src.w_; ++x) {
            int tx = x + ox, ty = y + oy;
            if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) continue;
            const float* s = &src.px_[(size_t(y) * src.w_ + x) * 4];
            float* d = &px_[(size_t(ty) * w_ + tx) * 4];
            float a = s[3] * alpha;
            for (int k = 0; k < 3; ++k) d[k] = s[k] * alpha + d[k] * (1 - a);
            d[3] = a + d[3] * (1 - a);
        }
    }
}

float Canvas::AlphaAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0.0f;
    return px_[(size_t(y) * w_ + x) * 4 + 3];
}

Mask Canvas::AlphaMask() const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) m.Ref(x, y) = AlphaAt(x, y);
    return m;
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(size_t(w_) * h_ * 4);
    for (size_t i = 0; i < size_t(w_) * h_; ++i) {
        const float* p = &px_[i * 4];
        float a = Clamp01(p[3]);
        uint8_t a8 = uint8_t(std::lround(a * 255.0f));
        if (a8 == 0) {
            out[i * 4 + 0] = out[i * 4 + 1] = out[i * 4 + 2] = out[i * 4 + 3] = 0;
            continue;
        }
        for (int k = 0; k < 3; ++k)
            out[i * 4 + k] = uint8_t(std::lround(Clamp01(p[k] / a) * 255.0f));
        out[i * 4 + 3] = a8;
    }
    return out;
}

Canvas Canvas::Downsample(int factor) const {
    Canvas out(w_ / factor, h_ / factor);
    const float inv = 1.0f / float(factor * factor);
    for (int y = 0; y < out.h_; ++y)
        for (int x = 0; x < out.w_; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < factor; ++sy)
                for (int sx = 0; sx < factor; ++sx) {
                    const float* p = &px_[(size_t(y * factor + sy) * w_ + x * factor + sx) * 4];
                    for (int k = 0; k < 4; ++k) acc[k] += p[k];
                }
            float* d = &out.px_[(size_t(y) * out.w_ + x) * 4];
            for (int k = 0; k < 4; ++k) d[k] = acc[k] * inv;
        }
    return out;
}

}  // namespace assetgen

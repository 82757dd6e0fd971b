#include "game/glow_picture.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <numbers>
#include <thread>

#include "toolkit/graphics/lumo2d_math.h"

namespace virexo {

namespace {

constexpr int kOvalos = 1022;  // r = 1, 1.5, ... 511.5
constexpr double kCentro = kLadoBrillo / 2.0;
// The rasteriser snaps vertices to 1/256 of a pixel.
constexpr double kSubpixel = 256.0;

// The renderer's unit vectors of an oval of n segments, as it rounds them.
struct Tabla {
    std::vector<float> cos, sin;
};

const Tabla& TablaDe(int n) {
    static std::map<int, Tabla> tablas;
    Tabla& t = tablas[n];
    if (t.cos.empty()) {
        t.cos.resize(std::size_t(n));
        t.sin.resize(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            const double th = double(i) * 360.0 / n * std::numbers::pi / 180.0;
            t.cos[std::size_t(i)] = float(std::cos(th));
            t.sin[std::size_t(i)] = float(std::sin(th));
        }
    }
    return t;
}

// One oval of the series, as the renderer receives it: DrawOval(r/2, r/2,
// 512 - r, 512 - r) with no handle, origin, rotation or scale.
struct Ovalo {
    float r = 0, rx = 0, cx = 0, tx = 0;
    int n = 0;
    int gris = 0;
    double apotema = 0;  // the radius of the circle inside the polygon
    const Tabla* tabla = nullptr;

    explicit Ovalo(int k) {
        r = 1.0f + 0.5f * float(k);
        const float ancho = float(kLadoBrillo) - r;
        rx = ancho * 0.5f;  // (x1 - x0) * 0.5 with x0 = 0
        cx = rx;            // x0 + rx
        tx = r / 2;
        n = kestrel::OvalSegments(rx, rx);
        gris = int(r * r / 1024.0f);
        apotema = double(rx) * std::cos(std::numbers::pi / n);
        tabla = &TablaDe(n);
    }

    // Vertex i in 1/256 pixel units, as the rasteriser snaps it.
    void Vertice(int i, std::int64_t& x, std::int64_t& y) const {
        const std::size_t k = std::size_t(i % n);
        const float u = cx + tabla->cos[k] * rx;
        const float v = cx - tabla->sin[k] * rx;
        x = std::llrint(double(u + tx) * kSubpixel);
        y = std::llrint(double(v + tx) * kSubpixel);
    }

    // Whether the pixel centre (px, py), in 1/256 pixel units, is inside:
    // on the inner side of the three edges nearest its direction (angle a).
    // A centre exactly on an edge is inside for left edges and for
    // horizontal edges with the inside below (the top-left rule).
    bool Contiene(std::int64_t px, std::int64_t py, double a) const {
        const double paso = 2 * std::numbers::pi / n;
        const int e = int(std::floor(a / paso));
        for (int d = -1; d <= 1; ++d) {
            const int i = ((e + d) % n + n) % n;
            std::int64_t ax, ay, bx, by;
            Vertice(i, ax, ay);
            Vertice(i + 1, bx, by);
            const std::int64_t ex = bx - ax, ey = by - ay;
            const std::int64_t cruz = ex * (py - ay) - ey * (px - ax);
            if (cruz > 0) return false;
            if (cruz == 0 && !(ey > 0 || (ey == 0 && ex < 0))) return false;
        }
        return true;
    }
};

const std::vector<Ovalo>& Ovalos() {
    static const std::vector<Ovalo> ovalos = [] {
        std::vector<Ovalo> v;
        v.reserve(kOvalos);
        for (int k = 0; k < kOvalos; ++k) v.emplace_back(k);
        return v;
    }();
    return ovalos;
}

// The grey level at pixel (i, j): that of the smallest oval holding its centre.
int GrisEn(const std::vector<Ovalo>& ovalos, int i, int j) {
    const double dx = i + 0.5 - kCentro, dy = j + 0.5 - kCentro;
    const double d = std::sqrt(dx * dx + dy * dy);
    // The ovals shrink by a quarter pixel of radius each: the last one that
    // can hold the centre, then the first that surely does.
    int alto = int(std::floor((double(ovalos[0].rx) - d + 0.01) / 0.25));
    if (alto >= kOvalos) alto = kOvalos - 1;
    if (alto < 0) return 0;
    int seguro = alto;
    while (seguro >= 0 && ovalos[std::size_t(seguro)].apotema - 0.01 <= d) --seguro;
    const int gseguro = seguro >= 0 ? ovalos[std::size_t(seguro)].gris : 0;
    if (ovalos[std::size_t(alto)].gris == gseguro) return gseguro;
    // Between the two the level changes: the ovals' own edges decide.
    const std::int64_t px = std::llrint((i + 0.5) * kSubpixel);
    const std::int64_t py = std::llrint((j + 0.5) * kSubpixel);
    double a = std::atan2(-dy, dx);
    if (a < 0) a += 2 * std::numbers::pi;
    for (int k = alto; k > seguro; --k)
        if (ovalos[std::size_t(k)].Contiene(px, py, a)) return ovalos[std::size_t(k)].gris;
    return gseguro;
}

void Filas(const std::vector<Ovalo>& ovalos, kestrel::TPixmap& pixmap, int desde, int hasta) {
    for (int j = desde; j < hasta; ++j) {
        std::uint8_t* fila = pixmap.pixels + std::size_t(j) * pixmap.pitch;
        for (int i = 0; i < kLadoBrillo; ++i) {
            const std::uint8_t g = std::uint8_t(GrisEn(ovalos, i, j));
            const std::uint8_t rgba[4] = {g, g, g, 255};
            std::memcpy(fila + std::size_t(i) * 4, rgba, 4);
        }
    }
}

}  // namespace

kestrel::TPixmapPtr creapixmapbrillo() {
    const std::vector<Ovalo>& ovalos = Ovalos();
    auto pixmap = kestrel::CreatePixmap(kLadoBrillo, kLadoBrillo, kestrel::PF_RGBA8888, 4);
    // Two halves at once: the machine may have no more than two cores.
    std::thread otra(Filas, std::cref(ovalos), std::ref(*pixmap), 0, kLadoBrillo / 2);
    Filas(ovalos, *pixmap, kLadoBrillo / 2, kLadoBrillo);
    otra.join();
    return pixmap;
}

kestrel::TPixmapPtr reducebrillo(const kestrel::TPixmap& glow, int factor) {
    const int w = glow.width / factor, h = glow.height / factor;
    auto out = kestrel::CreatePixmap(w, h, kestrel::PF_RGBA8888, 4);
    const int n = factor * factor;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int suma[4] = {};
            for (int y = j * factor; y < (j + 1) * factor; ++y)
                for (int x = i * factor; x < (i + 1) * factor; ++x) {
                    const std::uint8_t* p = glow.pixels + std::size_t(y) * glow.pitch + std::size_t(x) * 4;
                    for (int c = 0; c < 4; ++c) suma[c] += p[c];
                }
            std::uint8_t* q = out->pixels + std::size_t(j) * out->pitch + std::size_t(i) * 4;
            for (int c = 0; c < 4; ++c) q[c] = std::uint8_t((suma[c] + n / 2) / n);
        }
    return out;
}

double radiobrillo(const kestrel::TPixmap& glow) {
    double radio = 0;
    for (int j = 0; j < glow.height; ++j) {
        const std::uint8_t* fila = glow.pixels + std::size_t(j) * glow.pitch;
        for (int i = 0; i < glow.width; ++i) {
            const std::uint8_t* p = fila + std::size_t(i) * 4;
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
            const double dx = i + 0.5 - glow.width / 2.0, dy = j + 0.5 - glow.height / 2.0;
            radio = std::max(radio, std::sqrt(dx * dx + dy * dy));
        }
    }
    return radio;
}

}  // namespace virexo

#include "game/glow_layer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/eight_lanes.h"

namespace virexo {

namespace {

using namespace carriles;

// Where the texel to the left of (or above) a pixel's centre lies, and the
// next one's weight in 256ths: for the layer pixel p, texel p + entero, in
// texels of the bordered glow.
struct Paso {
    int entero = 0;
    unsigned peso = 0;
};

Paso PasoDe(double desplazamiento) {
    double entero = std::floor(desplazamiento);
    long peso = std::lround((desplazamiento - entero) * 256);
    if (peso == 256) {
        entero += 1;
        peso = 0;
    }
    return {int(entero) + 1, unsigned(peso)};  // + 1: the border
}

// The channel sums of the layer, one plane each: the clamping waits for the
// end, where it gives what clamping at each addition gives (every share is
// at least 0).
struct Planos {
    int w = 0, h = 0;
    std::vector<std::uint16_t> rojo, verde, azul;
    void Limpia(int ancho, int alto) {
        w = ancho;
        h = alto;
        for (auto* p : {&rojo, &verde, &azul}) p->assign(std::size_t(w) * std::size_t(h), 0);
    }
    // Each sum down to 255: then 256 more glows cannot overflow it.
    void Satura() {
        for (auto* p : {&rojo, &verde, &azul})
            for (std::uint16_t& v : *p) v = std::min<std::uint16_t>(v, 255);
    }
};

void SumaBrillo(Planos& planos, const BrilloGris& brillo, const BrilloEnCapa& g,
                std::vector<std::uint16_t>& fila) {
    // The pixel centre p + 0.5 samples the glow's texel coordinate
    // p + 0.5 - x + centro: between texels floor(p - x + centro) and the next.
    const Paso px = PasoDe(double(brillo.centro) - g.x), py = PasoDe(double(brillo.centro) - g.y);
    const int lado = brillo.lado;
    // Pixels whose two texels both lie outside the glow get nothing.
    const int x0 = std::max(0, -px.entero), x1 = std::min(planos.w, lado - 1 - px.entero);
    const int y0 = std::max(0, -py.entero), y1 = std::min(planos.h, lado - 1 - py.entero);
    if (x0 >= x1 || y0 >= y1) return;
    const auto tinte = [](int c) { return std::uint16_t(std::clamp(c, 0, 255)); };
    const std::uint16_t rojo = tinte(g.rojo), verde = tinte(g.verde), azul = tinte(g.azul);
    const std::uint16_t wx = std::uint16_t(px.peso), wy = std::uint16_t(py.peso);
    // The row holds whole lanes past the glow's last texel.
    fila.resize(std::size_t(lado + kCarriles));
    for (int y = y0; y < y1; ++y) {
        // Down the two texel rows first, then across.
        const std::uint16_t* arriba = brillo.gris.data() + std::size_t(y + py.entero) * std::size_t(lado);
        const std::uint16_t* abajo = arriba + lado;
        std::uint16_t* f = fila.data();
        int i = 0;
        for (; i + kCarriles <= lado; i += kCarriles)
            Guarda(f + i, Mezcla(Carga(arriba + i), Carga(abajo + i), wy));
        for (; i < lado; ++i) f[i] = std::uint16_t(Mezcla1(arriba[i], abajo[i], wy));
        const std::size_t base = std::size_t(y) * std::size_t(planos.w);
        std::uint16_t* r = planos.rojo.data() + base;
        std::uint16_t* v = planos.verde.data() + base;
        std::uint16_t* a = planos.azul.data() + base;
        const std::uint16_t* izquierda = f + px.entero;
        int x = x0;
        for (; x + kCarriles <= x1; x += kCarriles) {
            const Carril gris = Mezcla(Carga(izquierda + x), Carga(izquierda + x + 1), wx);
            Guarda(r + x, Carga(r + x) + PorNorma(gris, rojo));
            Guarda(v + x, Carga(v + x) + PorNorma(gris, verde));
            Guarda(a + x, Carga(a + x) + PorNorma(gris, azul));
        }
        for (; x < x1; ++x) {
            const unsigned gris = Mezcla1(izquierda[x], izquierda[x + 1], wx);
            r[x] = std::uint16_t(r[x] + PorNorma1(gris, rojo));
            v[x] = std::uint16_t(v[x] + PorNorma1(gris, verde));
            a[x] = std::uint16_t(a[x] + PorNorma1(gris, azul));
        }
    }
}

}  // namespace

BrilloGris brillogris(const kestrel::TPixmap& reducido, float centro) {
    BrilloGris b;
    b.lado = std::max(reducido.width, reducido.height) + 2;
    b.gris.assign(std::size_t(b.lado) * std::size_t(b.lado), 0);
    for (int y = 0; y < reducido.height; ++y)
        for (int x = 0; x < reducido.width; ++x)
            b.gris[std::size_t(y + 1) * std::size_t(b.lado) + std::size_t(x + 1)] =
                reducido.pixels[std::size_t(y) * std::size_t(reducido.pitch) + std::size_t(x) * 4];
    b.centro = centro;
    return b;
}

void componecapa(kestrel::TPixmap& capa, int w, int h, const BrilloGris& brillo,
                 const std::vector<BrilloEnCapa>& brillos) {
    w = std::clamp(w, 0, capa.width);
    h = std::clamp(h, 0, capa.height);
    static Planos planos;
    static std::vector<std::uint16_t> fila;
    planos.Limpia(w, h);
    for (std::size_t i = 0; i < brillos.size(); ++i) {
        if (i > 0 && i % 256 == 0) planos.Satura();
        SumaBrillo(planos, brillo, brillos[i], fila);
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = capa.pixels + std::size_t(y) * std::size_t(capa.pitch);
        const std::size_t base = std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x, p += 4) {
            p[0] = std::uint8_t(std::min<unsigned>(255, planos.rojo[base + std::size_t(x)]));
            p[1] = std::uint8_t(std::min<unsigned>(255, planos.verde[base + std::size_t(x)]));
            p[2] = std::uint8_t(std::min<unsigned>(255, planos.azul[base + std::size_t(x)]));
            p[3] = 255;
        }
    }
}

}  // namespace virexo

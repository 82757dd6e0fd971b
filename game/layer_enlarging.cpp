#include "game/layer_enlarging.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/eight_lanes.h"
#include "toolkit/resources/pixel_format.h"

namespace virexo {

namespace {

using namespace carriles;

// Four screen pixels to a layer texel. The screen pixel 4k + r samples the
// layer at 4k + r + 0.5 screen units, the layer coordinate k + 1 +
// (r + 0.5) / 4: with texel centres at i + 0.5, between texels k + q and
// k + q + 1, the second weighing w / 256.
constexpr int kEscala = 4;
constexpr int kTexelDe[kEscala] = {0, 0, 1, 1};        // q
constexpr std::uint16_t kPeso[kEscala] = {160, 224, 32, 96};  // w

// One layer row widened to the screen's width: four 16-bit lanes a pixel
// (red, green, blue, alpha), pixels 4k .. 4k + 3 from texels k .. k + 2.
void Ensancha(const std::uint8_t* fila, int grupos, std::uint16_t* ancha) {
    const Carril primeros = {kPeso[0], kPeso[0], kPeso[0], kPeso[0], kPeso[1], kPeso[1], kPeso[1], kPeso[1]};
    const Carril segundos = {kPeso[2], kPeso[2], kPeso[2], kPeso[2], kPeso[3], kPeso[3], kPeso[3], kPeso[3]};
    const Carril dos_primero = {0, 1, 2, 3, 0, 1, 2, 3}, dos_segundo = {4, 5, 6, 7, 4, 5, 6, 7};
    for (int k = 0; k < grupos; ++k) {
        const Carril t01 = CargaBytes(fila + 4 * k);      // texels k, k + 1
        const Carril t12 = CargaBytes(fila + 4 * k + 4);  // texels k + 1, k + 2
        const Carril t0 = __builtin_shuffle(t01, dos_primero);
        const Carril t1 = __builtin_shuffle(t01, dos_segundo);
        const Carril t2 = __builtin_shuffle(t12, dos_segundo);
        Guarda(ancha + 16 * k, Mezcla(t0, t1, primeros));
        Guarda(ancha + 16 * k + 8, Mezcla(t1, t2, segundos));
    }
}

// Lays n pixels of a panel's row (its shares, mezclapanel's) over as many
// pixels of a screen row of lanes.
void Mezcla1Fila(const std::uint8_t* m, std::uint16_t* fila, int n) {
    int i = 0;
    const Carril sin_guardado = {255, 255, 255, 0, 255, 255, 255, 0};
    const Carril guardado = {3, 3, 3, 3, 7, 7, 7, 7};
    for (; i + 2 <= n; i += 2) {
        const Carril v = CargaBytes(m + 4 * i);
        const Carril queda = __builtin_shuffle(v, guardado);
        Guarda(fila + 4 * i, (v & sin_guardado) + PorNorma(Carga(fila + 4 * i), queda));
    }
    for (; i < n; ++i)
        for (int c = 0; c < 3; ++c)
            fila[4 * i + c] = std::uint16_t(m[4 * i + c] + PorNorma1(fila[4 * i + c], m[4 * i + 3]));
}

}  // namespace

MezclaPanel mezclapanel(const kestrel::TPixmap& picture, int rojo, int verde, int azul, float alfa) {
    MezclaPanel p;
    p.ancho = picture.width;
    p.alto = picture.height;
    p.mezcla.resize(std::size_t(p.ancho) * std::size_t(p.alto) * 4);
    // The colour as the renderer takes it: whole levels.
    const auto nivel = [](int c) { return unsigned(std::clamp(c, 0, 255)); };
    const unsigned tinte[3] = {nivel(rojo), nivel(verde), nivel(azul)};
    const unsigned a = unsigned(std::lround(std::clamp(alfa, 0.0f, 1.0f) * 255));
    std::uint8_t* m = p.mezcla.data();
    for (int y = 0; y < p.alto; ++y)
        for (int x = 0; x < p.ancho; ++x, m += 4) {
            const std::uint32_t argb = picture.ReadPixel(x, y);
            const unsigned texel[3] = {argb >> 16 & 0xFFu, argb >> 8 & 0xFFu, argb & 0xFFu};
            const unsigned peso = PorNorma1(argb >> 24, a);
            for (int c = 0; c < 3; ++c) m[c] = std::uint8_t(PorNorma1(PorNorma1(texel[c], tinte[c]), peso));
            m[3] = std::uint8_t(255 - peso);
        }
    return p;
}

void ampliacapa(const kestrel::TPixmap& capa, kestrel::TPixmap& pantalla, int w, int desde,
                int hasta, const std::vector<PanelEnPantalla>& paneles) {
    const int grupos = w / kEscala;
    const bool azul_primero = pantalla.format == kestrel::PF_BGRA8888;
    static std::vector<std::uint16_t> arriba, abajo, fila;
    for (auto* v : {&arriba, &abajo, &fila}) v->resize(std::size_t(w) * 4);
    int fila_arriba = -1, fila_abajo = -1;  // the layer rows widened in each
    const auto capa_fila = [&](int j) { return capa.pixels + std::size_t(j) * std::size_t(capa.pitch); };
    for (int y = desde; y < hasta; ++y) {
        const int j = y / kEscala + kTexelDe[y % kEscala];
        // Each layer row is widened once: the lower row of four screen rows
        // is the upper one of the next four.
        if (fila_arriba != j) {
            if (fila_abajo == j) {
                std::swap(arriba, abajo);
                fila_arriba = j;
                fila_abajo = -1;
            } else {
                Ensancha(capa_fila(j), grupos, arriba.data());
                fila_arriba = j;
            }
        }
        if (fila_abajo != j + 1) {
            Ensancha(capa_fila(j + 1), grupos, abajo.data());
            fila_abajo = j + 1;
        }
        const std::uint16_t peso = kPeso[y % kEscala];
        for (int i = 0; i < w * 4; i += kCarriles)
            Guarda(fila.data() + i, Mezcla(Carga(arriba.data() + i), Carga(abajo.data() + i), peso));
        for (const PanelEnPantalla& p : paneles) {
            const int py = y - p.y;
            if (!p.panel || py < 0 || py >= p.panel->alto) continue;
            const int x0 = std::max(0, p.x), x1 = std::min(w, p.x + p.panel->ancho);
            if (x0 >= x1) continue;
            Mezcla1Fila(p.panel->mezcla.data() + (std::size_t(py) * std::size_t(p.panel->ancho) + std::size_t(x0 - p.x)) * 4,
                        fila.data() + std::size_t(x0) * 4, x1 - x0);
        }
        // Opaque, as the layer is, in the picture's byte order.
        const Carril opaco = {0, 0, 0, 255, 0, 0, 0, 255};
        std::uint8_t* salida = pantalla.pixels + std::size_t(y - desde) * std::size_t(pantalla.pitch);
        if (azul_primero) {
            const Carril bgra = {2, 1, 0, 3, 6, 5, 4, 7};
            for (int i = 0; i < w * 4; i += kCarriles)
                GuardaBytes(salida + i, __builtin_shuffle(Carga(fila.data() + i), bgra) | opaco);
        } else {
            for (int i = 0; i < w * 4; i += kCarriles) GuardaBytes(salida + i, Carga(fila.data() + i) | opaco);
        }
    }
}

}  // namespace virexo

#include "game/board_underlay.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "toolkit/resources/pixmap.h"

namespace virexo {

namespace {

using kestrel::TImagePtr;
using kestrel::TPixmapPtr;

// One picture made from another, for the parameter it was made with.
struct Hecha {
    TImagePtr fuente;
    float parametro = 0;
    int alto = 0;
    TImagePtr hecha;  // null: it could not be made
};
std::vector<Hecha> piezas, espejos, rectangulos;

// The picture made for (fuente, parametro, alto), made by `haz` on first need.
template <typename Haz>
TImagePtr Busca(std::vector<Hecha>& hechas, const TImagePtr& fuente, float parametro, int alto, Haz haz) {
    for (const Hecha& h : hechas)
        if (h.fuente == fuente && h.parametro == parametro && h.alto == alto) return h.hecha;
    hechas.push_back({fuente, parametro, alto, haz()});
    return hechas.back().hecha;
}

// An image of one frame of `pixels`, drawn texel for texel, handled at (hx, hy).
TImagePtr ImagenDe(const TPixmapPtr& pixels, float hx, float hy) {
    if (!pixels) return nullptr;
    TImagePtr img = kestrel::LoadImage(pixels, 0);
    if (img) kestrel::SetImageHandle(img, hx, hy);
    return img;
}

}  // namespace

TImagePtr piezaencelda(const TImagePtr& pieza, float escala) {
    if (!pieza) return nullptr;
    return Busca(piezas, pieza, escala, 0, [&] {
        const int w = int(std::lround(float(pieza->width) * escala));
        const int h = int(std::lround(float(pieza->height) * escala));
        // Only a size that lands the drawn picture on whole pixels, as the
        // board draws it, reads the same.
        if (std::fabs(float(w) - float(pieza->width) * escala) > 1e-3f ||
            std::fabs(float(h) - float(pieza->height) * escala) > 1e-3f)
            return TImagePtr();
        return ImagenDe(kestrel::DrawnImagePixmap(pieza, w, h), pieza->handle_x * escala,
                        pieza->handle_y * escala);
    });
}

TImagePtr figuraespejo(const TImagePtr& figura) {
    if (!figura) return nullptr;
    return Busca(espejos, figura, 0, 0, [&] {
        if (figura->pixmaps.empty() || !figura->pixmaps[0]) return TImagePtr();
        const kestrel::TPixmap& p = *figura->pixmaps[0];
        TPixmapPtr m = kestrel::CreatePixmap(p.width, p.height, kestrel::PF_RGBA8888);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) m->WritePixel(p.width - 1 - x, y, p.ReadPixel(x, y));
        return ImagenDe(m, float(p.width) - figura->handle_x, figura->handle_y);
    });
}

TImagePtr rectangulo(int ancho, int alto) {
    return Busca(rectangulos, nullptr, float(ancho), alto, [&] {
        if (ancho <= 0 || alto <= 0) return TImagePtr();
        TPixmapPtr p = kestrel::CreatePixmap(ancho, alto, kestrel::PF_RGBA8888);
        p->ClearPixels(0xFFFFFFFFu);
        return ImagenDe(p, 0, 0);
    });
}

void olvidabajopiezas() {
    piezas.clear();
    espejos.clear();
    rectangulos.clear();
}

}  // namespace virexo

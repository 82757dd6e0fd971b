// How far two screen pictures are apart, for the tests that hold a cheaper
// way of drawing to the plain one: per pixel the largest difference of a
// colour channel (the back buffer's alpha is not shown).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "toolkit/resources/pixmap.h"

namespace virexo::pruebas {

struct Diferencia {
    long pixels = 0;
    long masde[8] = {};  // pixels differing by more than 0, 1, ... 7 levels
    int mayor = 0;       // the largest difference
};

inline Diferencia Compara(const kestrel::TPixmapPtr& a, const kestrel::TPixmapPtr& b) {
    Diferencia d;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const std::uint8_t* p = a->PixelPtr(x, y);
            const std::uint8_t* q = b->PixelPtr(x, y);
            int m = 0;
            for (int c = 0; c < 3; ++c) m = std::max(m, std::abs(int(p[c]) - int(q[c])));
            ++d.pixels;
            for (int k = 0; k < 8; ++k) d.masde[k] += m > k;
            d.mayor = std::max(d.mayor, m);
        }
    return d;
}

}  // namespace virexo::pruebas

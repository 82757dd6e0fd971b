#include "game/ficha.h"

#include "game/doc.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"

namespace virexo {

std::shared_ptr<_ficha> _ficha::crea(int x, int y, const std::shared_ptr<_tablero>& tablero) {
    auto f = std::make_shared<_ficha>();
    f->x = static_cast<float>(x * 48);
    f->y = static_cast<float>(y * 48 - 768);
    f->dy = static_cast<float>(y * 48);
    f->color = kestrel::Rand(0, 5);
    f->tablero = tablero;
    const int p = tablero->doc->joy;
    if (contbixo[p] < periodobixo) {
        contbixo[p] += 1;
        f->bixo = 0;
        f->img = imgpastilla[f->color];
    } else {
        contbixo[p] = 0;
        f->bixo = 1;
        f->img = imgvirus[f->color];
    }
    return f;
}

int _ficha::actualiza() {
    if (auto d = doc.lock()) x = d->sx;
    y += (dy - y) / 1.125f;
    if (bixo != 0) {
        const int r = kestrel::Rand(0, 500);
        if (r == 0) sx = 1.25f;
        if (r == 1) sy = 1.25f;
        sy += (1.0f - sy) / 20.0f;
        sx += (1.0f - sx) / 20.0f;
    }
    return 0;
}

}  // namespace virexo

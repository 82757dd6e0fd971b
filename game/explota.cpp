#include "game/explota.h"

#include "game/globals.h"
#include "toolkit/system/random.h"

namespace virexo {

int _explota::crea(float x, float y, const TImagePtr& img, float dx) {
    auto e = std::make_shared<_explota>();
    e->x = x;
    e->y = y;
    e->img = img;
    e->dx = dx;
    e->vy = -10.0f;
    e->vel = static_cast<float>(kestrel::Rnd(1.0, 3.0));
    e->s = 0.75f;
    listaexplota->AddLast(e);
    return 0;
}

int _explota::actualizaTodo() {
    // The list walk tolerates a particle removing itself.
    for (auto e : *listaexplota) e->actualiza();  // a copy: the body may drop the list's reference
    return 0;
}

int _explota::actualiza() {
    y += vy;
    vy += 1.0f;
    s += 0.01f;
    if (y > static_cast<float>(altopantalla + 64))
        listaexplota->Remove(std::static_pointer_cast<_explota>(shared_from_this()));
    return 0;
}

}  // namespace virexo

#include "game/casilla.h"

#include "game/ficha.h"

namespace virexo {

std::shared_ptr<_casilla> _casilla::crea(float x, float y, const std::shared_ptr<_tablero>& tablero) {
    auto c = std::make_shared<_casilla>();
    c->x = x * 48.0f;
    c->y = y * 48.0f;
    c->tablero = tablero;
    return c;
}

int _casilla::vacia() {
    ficha.reset();
    marcada = 0;
    return 0;
}

}  // namespace virexo

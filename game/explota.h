// _explota: the particle a cleared cell leaves. It shows the cleared piece's
// picture, jumps up, falls under constant gravity and is dropped once below
// the bottom of the screen. Every live particle is in `listaexplota`.
#pragma once

#include <memory>

#include "game/game_types.h"
#include "toolkit/core/object.h"

namespace virexo {

class _explota : public kestrel::Object {
public:
    float x = 0.0f;    // pixel x relative to the board origin at the clear
    float y = 0.0f;    // pixel y on screen
    float s = 0.0f;    // grows by 0.01 per frame
    float vy = 0.0f;   // vertical speed, pixels per frame
    float vel = 0.0f;  // random value in [1, 3)
    TImagePtr img;
    float dx = 0.0f;  // the board's drawing origin x at the clear

    // A new particle appended to `listaexplota`; one draw from the generator.
    static int crea(float x, float y, const TImagePtr& img, float dx);
    static int actualizaTodo();
    static int dibujaTodo();
    int actualiza();
    int dibuja();
    int dibujasombra();
};

}  // namespace virexo

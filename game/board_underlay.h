// The pictures a board's underlay is laid with (what lies under its pieces,
// see _tablero::bajopiezas): the backdrop mixes them into its own picture on
// the CPU, unscaled and unturned, where the board would otherwise draw them
// one by one over it. Each is the very picture the board draws: a plain
// piece read back as the renderer draws it shrunk into its cell, the
// thrower's figure mirrored, and the thrower's column as a white picture.
// Made on first need (the display must be open) and kept for the picture
// they were made from; none when that picture is missing or cannot be
// read back, and the board then draws as ever.
#pragma once

#include "toolkit/graphics/image.h"

namespace virexo {

// `pieza` as the board draws it at `escala` on whole pixels: its picture
// shrunk to the drawn size, mid-handled.
kestrel::TImagePtr piezaencelda(const kestrel::TImagePtr& pieza, float escala);

// `figura` mirrored left to right (drawn at the horizontal scale -1), with
// its handle mirrored too.
kestrel::TImagePtr figuraespejo(const kestrel::TImagePtr& figura);

// A white opaque picture of ancho x alto, handle at its top-left corner:
// drawn with a colour and alpha, the rectangle DrawRect fills with them.
kestrel::TImagePtr rectangulo(int ancho, int alto);

// Lets every picture made go (the graphics or the pictures are made anew).
void olvidabajopiezas();

}  // namespace virexo

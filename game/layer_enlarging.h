// The glow layer enlarged four times over the screen on the CPU, with the
// panels over it (the boards' grids and what lies under their pieces), into
// the picture the backdrop writes to the screen as it is. Enlarged by the
// renderer with linear filtering, and the grids read and mixed over it in
// the same pass, the backdrop cost a software renderer some 6.6 ms a frame
// on one thread; drawn texel for texel, 2.3; copied in the window's byte
// order (DrawPixmap), some 0.5 with its upload; the enlarging costs below
// 1 ms. The enlarging samples the layer where OpenGL's linear filter
// samples it, with the same 8-bit weights, and mixes a panel over a pixel
// as ALPHABLEND does; each channel lands within a level of the renderer's
// picture.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/resources/pixmap.h"

namespace virexo {

// A panel's picture tinted for the backdrop: per pixel the panel's share of
// red, green and blue, and the share of the backdrop it keeps (255: all),
// as ALPHABLEND of the picture drawn with that colour and alpha leaves them.
struct MezclaPanel {
    int ancho = 0, alto = 0;
    std::vector<std::uint8_t> mezcla;  // ancho x alto x (r, g, b, kept), rows from the top
};
MezclaPanel mezclapanel(const kestrel::TPixmap& picture, int rojo, int verde, int azul, float alfa);

// A panel where it lies on the screen, its top-left pixel at (x, y); the
// parts beyond the screen are left out.
struct PanelEnPantalla {
    const MezclaPanel* panel = nullptr;
    int x = 0, y = 0;
};

// Writes the screen rows desde .. hasta - 1, w pixels wide, into the
// top-left of `pantalla` (PF_RGBA8888, or PF_BGRA8888, the window's byte
// order; the screen row desde to its row 0):
// the layer `capa` (PF_RGBA8888) enlarged four times with linear
// filtering, the screen pixel (x, y) at the layer point (x / 4 + 1,
// y / 4 + 1) (the layer holds a pixel all round beyond a screen of
// (w / 4) * 4 by h, w / 4 + 2 by h / 4 + 2), then the panels over it in
// their order, opaque. w is a multiple of 4, and 0 <= desde <= hasta <= h
// for a layer of h / 4 + 2 rows; the pixmaps must hold what is read and
// written.
void ampliacapa(const kestrel::TPixmap& capa, kestrel::TPixmap& pantalla, int w, int desde,
                int hasta, const std::vector<PanelEnPantalla>& paneles);

}  // namespace virexo

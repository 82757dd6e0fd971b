// Where the screens put their labels (the option lists, banners and
// notices drawn from pictures), for the drawing and for whatever must keep
// clear of them: the boxes their letters cover on each screen.
#pragma once

#include <string>
#include <vector>

#include "game/option_rows.h"
#include "game/timer_layout.h"
#include "toolkit/graphics/image.h"

namespace virexo {

// A picture's handle position on the screen.
struct SitioEtiqueta {
    float x = 0, y = 0;
};

SitioEtiqueta sitiobanner();      // every screen's strip banner (its first strip)
SitioEtiqueta sitioautor();       // the title's author line
SitioEtiqueta sitioopciones();    // the title's option list
SitioEtiqueta sitioversus();      // the versus line, above the option list
SitioEtiqueta sitiolista();       // the difficulty and strength lists
SitioEtiqueta sitiopausa();       // the pause's options
SitioEtiqueta sitiocentro();      // the help page and "Get ready!" (before its shake)
SitioEtiqueta sitiofinal(int lx); // an end screen's label, at x lx (before its shake)

// An end screen's label, its x and its banner; false for other states.
struct PantallaFinal {
    kestrel::TImagePtr label;
    int lx = 0;
    kestrel::TImagePtr banner;
};
bool pantallafinal(const std::string& state, PantallaFinal* out);

// How far the banners' strips shift sideways when they jitter, and the
// shakes of "Get ready!" and the end screens' labels, in pixels each way.
inline constexpr float kVaivenBanner = 8.0f;
inline constexpr float kVaivenPreparadoX = 4.0f, kVaivenPreparadoY = 2.0f;
inline constexpr float kVaivenFinal = 2.0f;

// Draws the lines of a list picture (its cuts, as in option_rows.h) whose
// bit is set in `filas`, each where it is in the whole picture; all of them
// draw the whole picture as it always was.
void dibujafilas(const kestrel::TImagePtr& image, SitioEtiqueta at, const int (&cortes)[5], unsigned filas);

// The box the non-transparent pixels of picture rows y0..y1 (exclusive)
// cover, drawn with the image's handle at `at`; empty (x1 <= x0) when none.
CajaTiempo tintaimagen(const kestrel::TImagePtr& image, SitioEtiqueta at, int frame, int y0, int y1);

// The boxes of every label the screen of `state` draws from pictures, with
// the lines `visibles` shows, widened by any shake or jitter. The boards and
// the time counter are not among them.
std::vector<CajaTiempo> etiquetaspantalla(const std::string& state, const OpcionesVisibles& visibles);

}  // namespace virexo

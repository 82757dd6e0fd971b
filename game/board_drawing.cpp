// Drawing of the game types: the board with its grid, thrower and pieces,
// each piece and the thrower with a drop shadow, and the explosion particles.
// Every drawing sets the renderer state it relies on, except the thrower's
// shadow, which follows the grid drawing and keeps its alpha blending.
// Boards, pieces and the thrower are drawn on whole pixels (a software
// renderer filters anything between them afresh), their positions in the
// game kept exact.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d.h"

namespace virexo {

namespace {

// A missing picture draws nothing (tests run the game types without assets).
void Dibuja(const TImagePtr& img, float x, float y) {
    if (img) kestrel::DrawImage(img, x, y, 0);
}

float OrigenX(const std::weak_ptr<_tablero>& t) {
    auto b = t.lock();
    return b ? b->sxdibujo() : 0.0f;
}

// Where to draw a picture whose handle is `handle` at scale `s` so that its
// near edge, which the point x puts at x - handle * s, lands on the nearest
// whole pixel. Between pixels, a software renderer filters every pixel of
// the picture from its mip chain (a frame with every piece and thrower
// between pixels took 11.9 ms on one drawing thread, against 7.8 still);
// on one, a piece shrunk to its drawn size is read texel for texel. Moving
// pieces and the walking thrower move by whole pixels; the game's own
// positions stay as they are.
float EnPixel(float x, float handle, float s) {
    const float borde = handle * s;
    return std::round(x - borde) + borde;
}

// A piece's picture drawn at the point (x, y) at its scale rule's scale.
void DibujaPieza(const _ficha& f, const TImagePtr& img, float x, float y) {
    if (!img) return;
    const float ex = f.bixo != 0 ? f.sx : 0.75f;
    const float ey = f.bixo != 0 ? f.sy : 0.75f;
    kestrel::SetScale(ex, ey);
    kestrel::DrawImage(img, EnPixel(x, img->handle_x, ex), EnPixel(y, img->handle_y, ey), 0);
}

// The thrower's figure, its scale (t, 1), at (x, y): on the nearest whole
// pixel while it faces one way (the picture's 81 rows put its centre
// between two); turning, it is squeezed and filtered wherever it stands.
void DibujaFigura(float t, float x, float y) {
    if (!imgdoc) return;
    kestrel::SetScale(t, 1.0f);
    kestrel::DrawImage(imgdoc, EnPixel(x, imgdoc->handle_x, t), EnPixel(y, imgdoc->handle_y, 1.0f), 0);
}

// The pieces grouped by picture, in the board's order within a group. The
// list is reused from frame to frame.
std::vector<_ficha*>& EnOrdenDeImagen(kestrel::TList<_ficha>& fichas) {
    static std::vector<_ficha*> orden;
    orden.clear();
    for (const auto& f : fichas) orden.push_back(f.get());
    std::stable_sort(orden.begin(), orden.end(), [](const _ficha* a, const _ficha* b) {
        return std::less<>()(a->img.get(), b->img.get());
    });
    return orden;
}

}  // namespace

float _tablero::sxdibujo() const { return std::round(sx); }

kestrel::ImageOver _tablero::rejilla() const {
    return {imgcuadricula, sxdibujo() - 1.0f, sy, 0, 200, 200, 200, 0.75f};
}

int _tablero::dibujaFondo() {
    const kestrel::ImageOver r = rejilla();
    kestrel::SetScale(1.0f, 1.0f);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetAlpha(r.alpha);
    kestrel::SetColor(r.red, r.green, r.blue);
    kestrel::SetRotation(0.0f);
    Dibuja(r.image, r.x, r.y);
    return 0;
}

int _tablero::dibuja(int debug, bool conrejilla) {
    if (conrejilla) dibujaFondo();
    // The state the grid's drawing leaves, which the thrower's shadow keeps
    // (the grid may have been drawn by the backdrop instead).
    kestrel::SetScale(1.0f, 1.0f);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetRotation(0.0f);
    if (doc) {
        doc->dibujasombra();
        doc->dibuja();
    }
    // Shadows and plain pieces are drawn a picture at a time: a software
    // renderer pays about as much for a change of picture as for drawing a
    // piece (with two full boards, 364 changes a frame became 59, and the
    // frame some 2 ms shorter). Their order shows nothing: the shadows are
    // all the same half black (where two overlap, either order gives the
    // same colour within a level), and a plain piece is smaller than its
    // cell. Viruses swell over their neighbours, so they keep the board's
    // order, last, over everything.
    std::vector<_ficha*>& orden = EnOrdenDeImagen(*fichas);
    for (_ficha* f : orden) f->dibujasombra();
    for (_ficha* f : orden)
        if (f->bixo == 0) f->dibuja();
    for (const auto& f : *fichas)
        if (f->bixo != 0) f->dibuja();
    if (debug != 0) {
        for (int i = 0; i < ancho; ++i) {
            for (int j = 0; j < alto; ++j) {
                const _casilla& c = celda(i, j);
                if (c.marcada != 0) kestrel::SetColor(255, 0, 0);
                else kestrel::SetColor(255, 255, 255);
                kestrel::SetScale(1.0f, 1.0f);
                kestrel::SetBlend(kestrel::ALPHABLEND);
                kestrel::SetAlpha(1.0f);
                kestrel::SetRotation(0.0f);
                const std::string text = c.ficha ? std::to_string(c.ficha->color) : ".";
                kestrel::DrawText(text, sxdibujo() + static_cast<float>(i * kPaso + 24),
                                  sy + static_cast<float>(j * kPaso + 24));
            }
        }
    }
    return 0;
}

int _ficha::dibuja() {
    const float bx = OrigenX(tablero);
    kestrel::SetColor(255, 255, 255);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetAlpha(1.0f);
    kestrel::SetRotation(0.0f);
    DibujaPieza(*this, bixo != 0 ? imgvirus[color] : imgpastilla[color], x + bx + 24.0f, y + 24.0f);
    return 0;
}

int _ficha::dibujasombra() {
    const float bx = OrigenX(tablero);
    kestrel::SetColor(0, 0, 0);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetAlpha(0.5f);
    kestrel::SetRotation(0.0f);
    DibujaPieza(*this, img, x + bx + 32.0f, y + 32.0f);
    return 0;
}

int _doc::dibuja() {
    auto b = tablero.lock();
    if (!b) return 0;
    const float x0 = std::round(sx) + b->sxdibujo();
    const float by = b->sy;
    kestrel::SetColor(250, 250, 250);
    kestrel::SetScale(1.0f, 1.0f);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetRotation(0.0f);
    kestrel::SetAlpha(0.25f);
    kestrel::DrawRect(x0, by, 48.0f, 768.0f);
    kestrel::SetColor(255, 255, 255);
    kestrel::SetAlpha(1.0f);
    DibujaFigura(t, x0 + 24.0f, sy + by + 8.0f);
    return 0;
}

int _doc::dibujasombra() {
    auto b = tablero.lock();
    if (!b) return 0;
    kestrel::SetRotation(0.0f);
    kestrel::SetColor(0, 0, 0);
    kestrel::SetAlpha(0.5f);
    DibujaFigura(t, std::round(sx) + b->sxdibujo() + 32.0f, sy + b->sy + 16.0f);
    return 0;
}

int _explota::dibujaTodo() {
    for (const auto& e : *listaexplota) {
        e->dibujasombra();
        e->dibuja();
    }
    return 0;
}

int _explota::dibuja() {
    kestrel::SetColor(255, 255, 255);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetAlpha(1.0f);
    kestrel::SetRotation(0.0f);
    kestrel::SetScale(0.8f, 0.8f);
    Dibuja(img, x + dx + 24.0f, y + 24.0f);
    return 0;
}

int _explota::dibujasombra() {
    kestrel::SetColor(0, 0, 0);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetAlpha(0.5f);
    kestrel::SetRotation(0.0f);
    kestrel::SetScale(0.8f, 0.8f);
    Dibuja(img, x + dx + 32.0f, y + 32.0f);
    return 0;
}

}  // namespace virexo

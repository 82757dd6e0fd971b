// Drawing of the game types: the board with its grid, thrower and pieces,
// each piece and the thrower with a drop shadow, and the explosion particles.
// Every drawing sets the renderer state it relies on, except the thrower's
// shadow, which follows the grid drawing and keeps its alpha blending.
// Boards, pieces and the thrower are drawn on whole pixels (a software
// renderer filters anything between them afresh), their positions in the
// game kept exact. Most of what lies under the viruses (grid, thrower,
// shadows, plain pieces) can be laid by the backdrop into its own picture
// on the CPU instead (_tablero::bajopiezas); the board then draws the rest.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "game/board_underlay.h"
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

// A plain piece's drawn scale, both ways.
constexpr float kEscalaPastilla = 0.75f;

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
    const float ex = f.bixo != 0 ? f.sx : kEscalaPastilla;
    const float ey = f.bixo != 0 ? f.sy : kEscalaPastilla;
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

// The thrower faces one way: at a horizontal scale within the renderer's
// 1/10000 of 1 or -1 it is read texel for texel, as its picture or the
// mirrored one drawn unscaled.
bool DeFrente(float t) { return std::fabs(std::fabs(t) - 1.0f) <= 1e-4f; }

// The thrower's column: a rectangle of white at a quarter, 48 pixels wide,
// from the board's top down a screen's height.
constexpr int kAnchoColumna = 48, kAltoColumna = 768;
constexpr int kGrisColumna = 250;
constexpr float kAlfaColumna = 0.25f;

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

namespace {

// A box on the screen, its edges in pixels.
struct Caja {
    float x0, y0, x1, y1;
    bool Toca(const Caja& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// A virus at rest: drawn at its picture's size (within the renderer's
// 1/10000), its picture is read texel for texel.
bool EnReposo(const _ficha& f) {
    return std::fabs(f.sx - 1.0f) <= 1e-4f && std::fabs(f.sy - 1.0f) <= 1e-4f;
}

// A piece's scale both ways, as DibujaPieza draws it.
std::pair<float, float> Escala(const _ficha& f) {
    return f.bixo != 0 ? std::pair{f.sx, f.sy} : std::pair{kEscalaPastilla, kEscalaPastilla};
}

// Where DibujaPieza puts the handle of the piece's picture for the point
// (x, y) of the board, and the box it covers, a pixel wider each way.
struct Sitio {
    float x, y;
    Caja caja;
};
Sitio SitioPieza(const _tablero& b, const _ficha& f, float x, float y) {
    const auto [ex, ey] = Escala(f);
    const float px = EnPixel(x + b.sxdibujo(), f.img->handle_x, ex);
    const float py = EnPixel(y, f.img->handle_y, ey);
    const float x0 = px - f.img->handle_x * ex, y0 = py - f.img->handle_y * ey;
    return {px, py, {x0 - 1, y0 - 1, x0 + float(f.img->width) * ex + 1, y0 + float(f.img->height) * ey + 1}};
}
Sitio SitioSombra(const _tablero& b, const _ficha& f) { return SitioPieza(b, f, f.x + 32.0f, f.y + 32.0f); }
Sitio SitioFicha(const _tablero& b, const _ficha& f) { return SitioPieza(b, f, f.x + 24.0f, f.y + 24.0f); }

// The thrower's column and figure are laid by the backdrop while it faces
// one way.
bool DocEnFondo(const _tablero& b) { return b.doc && DeFrente(b.doc->t); }

// What of the board the backdrop lays (bajopiezas), decided alike each
// time within a frame. Everything it lays keeps its place in the drawing
// order: a shadow or a plain piece is laid only where it touches nothing
// the board draws before it itself. Those are, while the thrower turns, its
// column, its figure and the figure's shadow; the shadows near them; and
// the shadows of viruses twitching (filtered at their scale).
struct Plan {
    bool doc = false;                    // the thrower's shadow, column and figure
    std::vector<const _ficha*> sombras;  // pieces whose shadows are laid
    std::vector<const _ficha*> piezas;   // plain pieces laid
    static bool En(const std::vector<const _ficha*>& v, const _ficha* f) {
        return std::binary_search(v.begin(), v.end(), f);
    }
};

// The board's pictures are all at hand: a missing one leaves everything
// to the board.
bool Listo(const _tablero& b, const std::vector<_ficha*>& orden) {
    if (b.doc && (!imgdoc || !rectangulo(kAnchoColumna, kAltoColumna) ||
                  (b.doc->t < 0 && !figuraespejo(imgdoc))))
        return false;
    for (const _ficha* f : orden)
        if (!f->img || (f->bixo == 0 && !piezaencelda(f->img, kEscalaPastilla))) return false;
    return true;
}

Plan Planea(const _tablero& b, const std::vector<_ficha*>& orden) {
    Plan plan;
    plan.doc = DocEnFondo(b);
    std::vector<Caja> antes;  // what the board draws itself before the pieces
    if (b.doc && !plan.doc) {
        const float x0 = std::round(b.doc->sx) + b.sxdibujo();
        antes.push_back({x0, b.sy, x0 + float(kAnchoColumna), b.sy + float(kAltoColumna)});
        // Turning, the figure spans at most its wider half each way of its
        // point, plus a pixel for the rounding; its shadow lies 8 pixels
        // right and down.
        const float medio = std::max(imgdoc->handle_x, float(imgdoc->width) - imgdoc->handle_x) + 1.0f;
        const float arriba = imgdoc->handle_y + 1.0f, abajo = float(imgdoc->height) - imgdoc->handle_y + 1.0f;
        const float fy = b.doc->sy + b.sy + 8.0f;
        antes.push_back({x0 + 24.0f - medio, fy - arriba, x0 + 32.0f + medio, fy + 8.0f + abajo});
    }
    const std::size_t delDoc = antes.size();
    const auto toca = [&](const Caja& c, std::size_t hasta) {
        return std::any_of(antes.begin(), antes.begin() + std::ptrdiff_t(hasta), [&](const Caja& a) { return a.Toca(c); });
    };
    for (const _ficha* f : orden) {
        const Caja sombra = SitioSombra(b, *f).caja;
        if ((f->bixo == 0 || EnReposo(*f)) && !toca(sombra, delDoc)) plan.sombras.push_back(f);
        else antes.push_back(sombra);
    }
    for (const _ficha* f : orden)
        if (f->bixo == 0 && !toca(SitioFicha(b, *f).caja, antes.size())) plan.piezas.push_back(f);
    std::sort(plan.sombras.begin(), plan.sombras.end());
    std::sort(plan.piezas.begin(), plan.piezas.end());
    return plan;
}

}  // namespace

bool _tablero::bajopiezas(std::vector<kestrel::ImageOver>* bajo) const {
    if (bajo) {
        const kestrel::ImageOver r = rejilla();
        if (r.image) bajo->push_back(r);
    }
    const std::vector<_ficha*>& orden = EnOrdenDeImagen(*fichas);
    if (!Listo(*this, orden)) return false;
    if (!bajo) return true;
    const Plan plan = Planea(*this, orden);
    if (plan.doc) {
        const TImagePtr figura = doc->t > 0 ? imgdoc : figuraespejo(imgdoc);
        const float x0 = std::round(doc->sx) + sxdibujo();
        // Where DibujaFigura puts the figure's handle for the point (x, y):
        // the mirrored picture's handle is mirrored too, so unscaled it
        // covers the pixels the picture covers at the scale -1.
        const auto en = [&](float x, float y) {
            return std::pair{EnPixel(x, imgdoc->handle_x, doc->t), EnPixel(y, imgdoc->handle_y, 1.0f)};
        };
        const auto [sombrax, sombray] = en(x0 + 32.0f, doc->sy + sy + 16.0f);
        const auto [figurax, figuray] = en(x0 + 24.0f, doc->sy + sy + 8.0f);
        bajo->push_back({figura, sombrax, sombray, 0, 0, 0, 0, 0.5f});
        bajo->push_back({rectangulo(kAnchoColumna, kAltoColumna), x0, sy, 0, kGrisColumna, kGrisColumna,
                         kGrisColumna, kAlfaColumna});
        bajo->push_back({figura, figurax, figuray, 0, 255, 255, 255, 1.0f});
    }
    // A plain piece's picture as drawn in its cell; a virus at rest is its
    // own picture.
    const auto dibujo = [](const _ficha& f) {
        return f.bixo == 0 ? piezaencelda(f.img, kEscalaPastilla) : f.img;
    };
    for (const _ficha* f : orden)
        if (Plan::En(plan.sombras, f)) {
            const Sitio s = SitioSombra(*this, *f);
            bajo->push_back({dibujo(*f), s.x, s.y, 0, 0, 0, 0, 0.5f});
        }
    for (const _ficha* f : orden)
        if (Plan::En(plan.piezas, f)) {
            const Sitio s = SitioFicha(*this, *f);
            bajo->push_back({dibujo(*f), s.x, s.y, 0, 255, 255, 255, 1.0f});
        }
    return true;
}

int _tablero::dibuja(int debug, bool confondo) {
    if (confondo) dibujaFondo();
    // What the backdrop laid (bajopiezas) is not drawn again.
    std::vector<_ficha*>& orden = EnOrdenDeImagen(*fichas);
    const bool puesto = !confondo && Listo(*this, orden);
    const Plan plan = puesto ? Planea(*this, orden) : Plan{};
    // The state the grid's drawing leaves, which the thrower's shadow keeps
    // (the grid may have been drawn by the backdrop instead).
    kestrel::SetScale(1.0f, 1.0f);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetRotation(0.0f);
    if (doc && !plan.doc) {
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
    // order, last, over everything. Shadows and plain pieces may lie in the
    // backdrop already (Plan).
    for (_ficha* f : orden)
        if (!Plan::En(plan.sombras, f)) f->dibujasombra();
    for (_ficha* f : orden)
        if (f->bixo == 0 && !Plan::En(plan.piezas, f)) f->dibuja();
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
    kestrel::SetColor(kGrisColumna, kGrisColumna, kGrisColumna);
    kestrel::SetScale(1.0f, 1.0f);
    kestrel::SetBlend(kestrel::ALPHABLEND);
    kestrel::SetRotation(0.0f);
    kestrel::SetAlpha(kAlfaColumna);
    kestrel::DrawRect(x0, by, float(kAnchoColumna), float(kAltoColumna));
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

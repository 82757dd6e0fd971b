#include "game/screen_layout.h"

#include <algorithm>

#include "game/computer/versus.h"
#include "game/globals.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/resources/pixmap.h"

namespace virexo {

namespace {

using kestrel::TImagePtr;

constexpr int kFranjas = 10;      // a banner's strips
constexpr float kAltoFranja = 17; // and their pitch

// The versus picture's top edge stands this far below the option list's top
// (the list leaves room above its first line), so that its line falls one
// line pitch above the list's first.
constexpr int kVersusBajoLista = 11;

void Anade(std::vector<CajaTiempo>& out, CajaTiempo c, float vx, float vy) {
    if (c.x1 <= c.x0) return;
    out.push_back({c.x0 - vx, c.y0 - vy, c.x1 + vx, c.y1 + vy});
}

void AnadeBanner(std::vector<CajaTiempo>& out, const TImagePtr& banner) {
    if (!banner) return;
    const SitioEtiqueta at = sitiobanner();
    for (int i = 0; i < kFranjas; ++i)
        Anade(out, tintaimagen(banner, {at.x, at.y + kAltoFranja * static_cast<float>(i)}, i, 0, banner->height),
              kVaivenBanner, 0);
}

void AnadeFilas(std::vector<CajaTiempo>& out, const TImagePtr& image, SitioEtiqueta at, const int (&cortes)[5],
                unsigned filas) {
    if (!image) return;
    for (int i = 0; i < 4; ++i)
        if (filas & (1u << i)) Anade(out, tintaimagen(image, at, 0, cortes[i], cortes[i + 1]), 0, 0);
}

void AnadeEntera(std::vector<CajaTiempo>& out, const TImagePtr& image, SitioEtiqueta at, float vx, float vy) {
    if (image) Anade(out, tintaimagen(image, at, 0, 0, image->height), vx, vy);
}

}  // namespace

SitioEtiqueta sitiobanner() { return {static_cast<float>(centrox), static_cast<float>(centroy - 320)}; }
SitioEtiqueta sitioautor() { return {153, static_cast<float>(altopantalla - 34)}; }
SitioEtiqueta sitioopciones() {
    return {static_cast<float>(anchopantalla - 133), static_cast<float>(altopantalla - 141)};
}
SitioEtiqueta sitioversus() {
    // Both pictures are mid-handled: 136 is half the list's height, 34 half
    // the versus picture's.
    return {static_cast<float>(anchopantalla - 133), static_cast<float>(altopantalla - 141 - 136 + kVersusBajoLista + 34)};
}
SitioEtiqueta sitiolista() { return {static_cast<float>(centrox), static_cast<float>(centroy + 120)}; }
SitioEtiqueta sitiopausa() { return {static_cast<float>(centrox), static_cast<float>(centroy + 200)}; }
SitioEtiqueta sitiocentro() { return {static_cast<float>(centrox), static_cast<float>(centroy)}; }
SitioEtiqueta sitiofinal(int lx) { return {static_cast<float>(lx), static_cast<float>(centroy + 100)}; }

bool pantallafinal(const std::string& state, PantallaFinal* out) {
    const int quarter = centrox / 2;
    if (state == "fin10") *out = {imgpierde, centrox, imggameover};
    else if (state == "fin20") *out = {imgpierde, centrox + quarter, imggameover};
    else if (state == "fin21") *out = {imgpierde, centrox - quarter, imggameover};
    else if (state == "fin10b") *out = {imggana, centrox, imgfelicidades};
    else if (state == "fin20b") *out = {imggana, centrox + quarter, imgfelicidades};
    else if (state == "fin21b") *out = {imggana, centrox - quarter, imgfelicidades};
    else return false;
    return true;
}

void dibujafilas(const TImagePtr& image, SitioEtiqueta at, const int (&cortes)[5], unsigned filas) {
    if ((filas & 0xFu) == 0xFu) {
        kestrel::DrawImage(image, at.x, at.y, 0);
        return;
    }
    const float left = at.x - image->handle_x, top = at.y - image->handle_y;
    const float w = static_cast<float>(image->width);
    for (int i = 0; i < 4; ++i) {
        if (!(filas & (1u << i))) continue;
        const float y0 = static_cast<float>(cortes[i]), h = static_cast<float>(cortes[i + 1] - cortes[i]);
        kestrel::DrawSubImageRect(image, left, top + y0, w, h, 0, y0, w, h);
    }
}

CajaTiempo tintaimagen(const TImagePtr& image, SitioEtiqueta at, int frame, int y0, int y1) {
    const kestrel::TPixmapPtr p = kestrel::LockImage(image, frame, 1, 0);
    int x0 = p->width, x1 = -1, top = p->height, bottom = -1;
    for (int y = std::max(0, y0); y < std::min(y1, p->height); ++y)
        for (int x = 0; x < p->width; ++x)
            if ((p->ReadPixel(x, y) >> 24) != 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    kestrel::UnlockImage(image, frame);
    if (x1 < 0) return {};
    const float left = at.x - image->handle_x, up = at.y - image->handle_y;
    return {left + static_cast<float>(x0), up + static_cast<float>(top), left + static_cast<float>(x1 + 1),
            up + static_cast<float>(bottom + 1)};
}

std::vector<CajaTiempo> etiquetaspantalla(const std::string& state, const OpcionesVisibles& visibles) {
    std::vector<CajaTiempo> out;
    if (state == "menu") {
        AnadeBanner(out, imgtitulo);
        AnadeEntera(out, imgautor, sitioautor(), 0, 0);
        AnadeFilas(out, imgopciones, sitioopciones(), kCortesOpciones, visibles.titulo);
        if ((visibles.titulo & kFilaVersus) && computer::Pictures().option)
            AnadeEntera(out, computer::Pictures().option, sitioversus(), 0, 0);
    } else if (state == "dificultad") {
        AnadeBanner(out, imginfeccion);
        AnadeFilas(out, imgdificultad, sitiolista(), kCortesDificultad, visibles.dificultad);
    } else if (state == "rival") {
        AnadeBanner(out, computer::Pictures().banner);
        AnadeEntera(out, computer::Pictures().strengths, sitiolista(), 0, 0);
    } else if (state == "ayuda") {
        AnadeEntera(out, imgayuda, sitiocentro(), 0, 0);
    } else if (state == "iniciajuego") {
        AnadeEntera(out, imgpreparado, sitiocentro(), kVaivenPreparadoX, kVaivenPreparadoY);
    } else if (state == "pausa") {
        AnadeBanner(out, imgpausa);
        AnadeEntera(out, imgpausaopciones, sitiopausa(), 0, 0);
    } else if (PantallaFinal f; pantallafinal(state, &f)) {
        AnadeBanner(out, f.banner);
        AnadeEntera(out, f.label, sitiofinal(f.lx), kVaivenFinal, kVaivenFinal);
    }
    return out;
}

}  // namespace virexo

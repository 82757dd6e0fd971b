#include "game/backdrop.h"

#include <array>
#include <cmath>
#include <deque>
#include <vector>

#include "game/glow_layer.h"
#include "game/glow_picture.h"
#include "game/layer_enlarging.h"
#include "toolkit/core/error.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/system/random.h"

namespace virexo {

namespace {

constexpr int kGlows = 30;
// The glows are composed at a quarter of the screen's resolution.
constexpr int kEscalaCapa = 4;

kestrel::TImagePtr imgbrillo;  // the glow, 512 x 512, mid-handled

// The glow at the layer's scale (each pixel the mean of a block), as the
// layer's composition reads it, the layer the glows are composed into, and
// the screen's picture the layer is enlarged into (layer_enlarging.h), in
// the window's byte order, so that the renderer can copy it in whole rows
// rather than draw it (DrawPixmap).
BrilloGris brillocapa;
kestrel::TPixmapPtr capa;
kestrel::TPixmapPtr imagenfondo;
std::vector<BrilloEnCapa> encapa;
// The panels' pictures as the enlarging lays them, made on first need; a
// deque, so that those handed out stay where they are as more are made.
struct PanelHecho {
    kestrel::TPixmapPtr picture;
    int red, green, blue;
    float alpha;
    MezclaPanel mezcla;
};
std::deque<PanelHecho> paneleshechos;
std::array<float, kGlows> brillox{}, brilloy{}, brillovx{}, brillovy{}, brilloangulo{};

// The glow's colour where it stands; the renderer clamps each component to
// 0..255.
void ColorBrillo(int i) {
    kestrel::SetColor(255, static_cast<int>(512 - brillox[i]), static_cast<int>(512 - brilloy[i]));
}

}  // namespace

void creafondo() {
    using namespace kestrel;
    // The screen's clear colour is black from here on, and the colour is
    // left as drawing the glow's brightest oval leaves it.
    SetClsColor(0, 0, 0);
    Cls();
    SetColor(255, 255, 255);
    const TPixmapPtr brillo = creapixmapbrillo();
    imgbrillo = CreateImage(kLadoBrillo, kLadoBrillo, 1, -1);
    imgbrillo->SetPixmap(0, brillo);

    brillocapa = brillogris(*reducebrillo(*brillo, kEscalaCapa), imgbrillo->handle_x / kEscalaCapa);
    // The layer holds one pixel all round beyond the screen, for the
    // filtering of the screen's edge pixels.
    capa = CreatePixmap(GraphicsWidth() / kEscalaCapa + 2, GraphicsHeight() / kEscalaCapa + 2, PF_RGBA8888, 4);
    capa->ClearPixels(0xFF000000u);
    imagenfondo = CreatePixmap(GraphicsWidth(), GraphicsHeight(), PF_BGRA8888, 4);
    paneleshechos.clear();

    for (int i = 0; i < kGlows; ++i) {
        brillox[i] = static_cast<float>(Rand(0, 1024));
        brilloy[i] = static_cast<float>(Rand(0, 768));
        brillovx[i] = (RndFloat() - 0.5f) * 4;
        brillovy[i] = (RndFloat() - 0.5f) * 4;
        brilloangulo[i] = RndFloat() * 360;
    }
}

void muevefondo() {
    for (int i = 0; i < kGlows; ++i) {
        brillox[i] += brillovx[i];
        brilloy[i] += brillovy[i];
        if (brillox[i] < 0 || brillox[i] > 1024) brillovx[i] = -brillovx[i];
        if (brilloy[i] < 0 || brilloy[i] > 768) brillovy[i] = -brillovy[i];
        brilloangulo[i] += 0.2f;
    }
}

namespace {

// The drawing state of the glows: added light, unscaled.
void EmpiezaBrillos() {
    using namespace kestrel;
    SetBlend(LIGHTBLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0);
}

}  // namespace

void dibujafondoexacto() {
    using namespace kestrel;
    EmpiezaBrillos();
    for (int i = 0; i < kGlows; ++i) {
        ColorBrillo(i);
        SetRotation(brilloangulo[i]);
        DrawImage(imgbrillo, brillox[i], brilloy[i], 0);
    }
    SetBlend(ALPHABLEND);
}

namespace {

// A panel's picture tinted as the enlarging lays it, made once for each
// picture and colour; none when the frame has no pixels to read.
const MezclaPanel* Mezcla(const kestrel::ImageOver& o) {
    const kestrel::TImage& image = *o.image;
    if (o.frame < 0 || std::size_t(o.frame) >= image.pixmaps.size()) return nullptr;
    const kestrel::TPixmapPtr& picture = image.pixmaps[std::size_t(o.frame)];
    if (!picture) return nullptr;
    for (const PanelHecho& p : paneleshechos)
        if (p.picture == picture && p.red == o.red && p.green == o.green && p.blue == o.blue && p.alpha == o.alpha)
            return &p.mezcla;
    paneleshechos.push_back({picture, o.red, o.green, o.blue, o.alpha,
                             mezclapanel(*picture, o.red, o.green, o.blue, o.alpha)});
    return &paneleshechos.back().mezcla;
}

// The whole pixel v lies on, when it lies on one (within 1/1024).
bool PixelEntero(float v, int& entero) {
    const float r = std::round(v);
    if (!(std::fabs(v - r) <= 1.0f / 1024) || std::fabs(r) > 1e6f) return false;
    entero = int(r);
    return true;
}

void DibujaEncima(const kestrel::ImageOver& o) {
    using namespace kestrel;
    SetBlend(ALPHABLEND);
    SetColor(o.red, o.green, o.blue);
    SetAlpha(o.alpha);
    DrawImage(o.image, o.x, o.y, o.frame);
}

// The drawing state dibujafondo leaves.
void TerminaFondo() {
    using namespace kestrel;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
}

}  // namespace

void dibujafondo(const std::vector<kestrel::ImageOver>& encima) {
    using namespace kestrel;
    const int w = GraphicsWidth(), h = GraphicsHeight();
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    float ox, oy;
    GetOrigin(ox, oy);
    int ex, ey;
    // A smaller viewport gets the glows one by one, clipped: the exact
    // picture of the part of the screen it shows. So does a screen the
    // layer does not fit, or a drawing origin between pixels.
    const bool entera = vx <= 0 && vy <= 0 && vx + vw >= w && vy + vh >= h;
    if (!entera || !capa || !imagenfondo || imagenfondo->width != w || imagenfondo->height != h ||
        VirtualResolutionWidth() != float(w) || VirtualResolutionHeight() != float(h) ||
        w % kEscalaCapa != 0 || h % kEscalaCapa != 0 || !PixelEntero(ox, ex) || !PixelEntero(oy, ey)) {
        Cls();
        dibujafondoexacto();
        SetRotation(0);
        for (const ImageOver& o : encima) DibujaEncima(o);
        TerminaFondo();
        return;
    }
    // The glows, added up at the layer's resolution (see glow_layer.h):
    // the screen point (x, y) is the layer point (x / kEscalaCapa + 1,
    // y / kEscalaCapa + 1), and the tint is ColorBrillo's.
    const float s = kEscalaCapa;
    encapa.resize(kGlows);
    for (int i = 0; i < kGlows; ++i)
        encapa[std::size_t(i)] = {brillox[i] / s + 1, brilloy[i] / s + 1, 255,
                                  static_cast<int>(512 - brillox[i]), static_cast<int>(512 - brilloy[i])};
    componecapa(*capa, w / kEscalaCapa + 2, h / kEscalaCapa + 2, brillocapa, encapa);
    // The panels are laid over it on the way, in their order, up to the
    // first that lies between pixels (or has no pixels to read); that one
    // and those after it are drawn over the picture after, in their order.
    std::vector<PanelEnPantalla> paneles;
    std::vector<const ImageOver*> despues;
    for (const ImageOver& o : encima) {
        NonNull(o.image);
        const MezclaPanel* m = despues.empty() ? Mezcla(o) : nullptr;
        int px, py;
        if (m && PixelEntero(o.x - o.image->handle_x, px) && PixelEntero(o.y - o.image->handle_y, py))
            paneles.push_back({m, px, py});
        else
            despues.push_back(&o);
    }
    ampliacapa(*capa, *imagenfondo, w, 0, h, paneles);
    // Written as it is, where the drawing origin puts it, as an unscaled
    // image drawn there would be; the screen is cleared first only where
    // the picture leaves some of it (a clear the picture overwrites would
    // cost a software renderer a pass over the screen).
    if (ex != 0 || ey != 0) Cls();
    DrawPixmap(imagenfondo, ex, ey);
    SetScale(1.0f, 1.0f);
    SetRotation(0);
    for (const ImageOver* o : despues) DibujaEncima(*o);
    TerminaFondo();
}

}  // namespace virexo

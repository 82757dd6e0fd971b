#include "game/backdrop.h"

#include <array>
#include <vector>

#include "game/glow_layer.h"
#include "game/glow_picture.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/graphics/texture_layout.h"
#include "toolkit/system/random.h"

namespace virexo {

namespace {

constexpr int kGlows = 30;
// The glows are composed at a quarter of the screen's resolution.
constexpr int kEscalaCapa = 4;

kestrel::TImagePtr imgbrillo;  // the glow, 512 x 512, mid-handled
// The glow at the layer's scale (each pixel the mean of a block), as the
// layer's composition reads it, and the layer the glows are composed into.
BrilloGris brillocapa;
kestrel::TImagePtr imgcapa;
std::vector<BrilloEnCapa> encapa;
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
    // filtering of the screen's edge pixels; its size is a power of two, so
    // that its texture takes the pixmap as it is at each upload.
    imgcapa = CreateImage(NextPow2(GraphicsWidth() / kEscalaCapa + 2),
                          NextPow2(GraphicsHeight() / kEscalaCapa + 2), 1, FILTEREDIMAGE);
    LockImage(imgcapa, 0, 1, 1)->ClearPixels(0xFF000000u);
    UnlockImage(imgcapa, 0);

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

void dibujafondo(const std::vector<kestrel::ImageOver>& encima) {
    using namespace kestrel;
    const float w = float(GraphicsWidth()), h = float(GraphicsHeight());
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    // A smaller viewport gets the glows one by one, clipped: the exact
    // picture of the part of the screen it shows.
    if (vx > 0 || vy > 0 || vx + vw < int(w) || vy + vh < int(h)) {
        dibujafondoexacto();
        SetRotation(0);
        for (const ImageOver& o : encima) {
            SetColor(o.red, o.green, o.blue);
            SetAlpha(o.alpha);
            DrawImage(o.image, o.x, o.y, o.frame);
        }
        SetColor(255, 255, 255);
        SetAlpha(1.0f);
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
    componecapa(*LockImage(imgcapa, 0, 1, 1), int(w / s) + 2, int(h / s) + 2, brillocapa, encapa);
    UnlockImage(imgcapa, 0);
    // Then the layer, enlarged with linear filtering, over the whole screen,
    // with the panels over it.
    SetRotation(0);
    DrawSubImageRectUnder(imgcapa, 0, 0, w, h, 1, 1, w / s, h / s, encima, 0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    // The renderer fills the backdrop while the screen's drawing is sent.
    SubmitDrawing();
}

}  // namespace virexo

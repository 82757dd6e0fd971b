#include "game/backdrop.h"

#include <array>
#include <vector>

#include "game/glow_picture.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/system/random.h"

namespace virexo {

namespace {

constexpr int kGlows = 30;
// Sides of the polygons that cover the glows' lit discs: a sixteen-gon
// leaves out nearly all of the black corners in few triangles.
constexpr int kLadosDisco = 16;
// A texel of filtering beyond the farthest lit pixel, and some more.
constexpr double kMargenDisco = 2.0;

kestrel::TImagePtr imgbrillo;  // the glow, 512 x 512, mid-handled
// The glow at half size (each pixel the mean of a 2 x 2 block) and the
// layer the glows are composed into at half the screen's resolution.
kestrel::TImagePtr imgbrillomitad, imgcapa;
std::vector<float> disco, discomitad;
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
    const double radio = radiobrillo(*brillo);
    imgbrillo = CreateImage(kLadoBrillo, kLadoBrillo, 1, -1);
    imgbrillo->SetPixmap(0, brillo);
    disco = poligonocircunscrito(kLadoBrillo / 2.0f, kLadoBrillo / 2.0f, radio + kMargenDisco,
                                 kLadosDisco);

    const int mitad = kLadoBrillo / 2;
    const TPixmapPtr pequeno = ResizePixmap(brillo, mitad, mitad);
    imgbrillomitad = CreateImage(mitad, mitad, 1, FILTEREDIMAGE);
    MidHandleImage(imgbrillomitad);
    imgbrillomitad->SetPixmap(0, pequeno);
    discomitad = poligonocircunscrito(mitad / 2.0f, mitad / 2.0f, radiobrillo(*pequeno) + kMargenDisco,
                                      kLadosDisco);
    // One layer pixel all round beyond the screen, for the filtering of the
    // screen's edge pixels.
    imgcapa = CreateImage(GraphicsWidth() / 2 + 2, GraphicsHeight() / 2 + 2, 1, FILTEREDIMAGE);

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

void dibujafondoexacto() {
    using namespace kestrel;
    SetBlend(LIGHTBLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0);
    for (int i = 0; i < kGlows; ++i) {
        ColorBrillo(i);
        SetRotation(brilloangulo[i]);
        // The black outside the lit disc adds nothing.
        DrawImagePolygon(imgbrillo, brillox[i], brilloy[i], disco, 0);
    }
    SetBlend(ALPHABLEND);
}

void dibujafondo() {
    using namespace kestrel;
    // The glows, at half the resolution, into the layer's corner of the
    // (black) back buffer; layer pixel (i, j) is centred on the screen
    // point (2i - 1, 2j - 1).
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    const int capaw = ImageWidth(imgcapa), capah = ImageHeight(imgcapa);
    SetViewport(0, 0, capaw, capah);
    SetBlend(LIGHTBLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0);
    for (int i = 0; i < kGlows; ++i) {
        ColorBrillo(i);
        SetRotation(brilloangulo[i]);
        DrawImagePolygon(imgbrillomitad, brillox[i] / 2 + 1, brilloy[i] / 2 + 1, discomitad, 0);
    }
    GrabImageTexture(imgcapa, 0, 0, 0);
    // Then the layer, enlarged with linear filtering, over the whole screen.
    SetViewport(vx, vy, vw, vh);
    SetBlend(SOLIDBLEND);
    SetRotation(0);
    SetColor(255, 255, 255);
    const float w = float(GraphicsWidth()), h = float(GraphicsHeight());
    DrawSubImageRect(imgcapa, 0, 0, w, h, 1, 1, w / 2, h / 2, 0, 0, 0);
    SetBlend(ALPHABLEND);
}

}  // namespace virexo

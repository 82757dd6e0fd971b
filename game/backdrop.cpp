#include "game/backdrop.h"

#include <array>

#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/system/random.h"

namespace virexo {

namespace {

constexpr int kGlows = 30;

kestrel::TImagePtr imgbrillo;
std::array<float, kGlows> brillox{}, brilloy{}, brillovx{}, brillovy{}, brilloangulo{};

}  // namespace

void creafondo() {
    using namespace kestrel;
    // The back buffer must be black under the ovals.
    SetClsColor(0, 0, 0);
    Cls();
    for (float r = 1.0f; r < 512.0f; r += 0.5f) {
        const float c = r * r / 1024.0f;
        SetColor(static_cast<int>(c), static_cast<int>(c), static_cast<int>(c));
        DrawOval(r / 2, r / 2, 512 - r, 512 - r);
    }
    imgbrillo = CreateImage(512, 512, 1, -1);
    GrabImage(imgbrillo, 0, 0, 0);

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

void dibujafondo() {
    using namespace kestrel;
    SetBlend(LIGHTBLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0);
    for (int i = 0; i < kGlows; ++i) {
        // The renderer clamps each component to 0..255.
        SetColor(255, static_cast<int>(512 - brillox[i]), static_cast<int>(512 - brilloy[i]));
        SetRotation(brilloangulo[i]);
        DrawImage(imgbrillo, brillox[i], brilloy[i], 0);
    }
    SetBlend(ALPHABLEND);
}

}  // namespace virexo

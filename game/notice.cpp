#include "game/notice.h"

#include <algorithm>
#include <sstream>

#include "game/globals.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d.h"

namespace virexo {

namespace {
std::string g_aviso;
}

void dibujalineas(const std::vector<std::string>& lineas, float cx, float y, float escala) {
    using namespace kestrel;
    const TImageFontPtr before = GetImageFont();
    SetImageFont(nullptr);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    const float alto = static_cast<float>(TextHeight()) * escala * 1.25f;
    // A dark panel behind the block keeps it readable over any glow.
    float ancho = 0.0f;
    for (const std::string& linea : lineas) ancho = std::max(ancho, static_cast<float>(TextWidth(linea)) * escala);
    if (ancho > 0.0f) {
        const float margen = 8.0f * escala;
        SetScale(1.0f, 1.0f);
        SetColor(0, 0, 0);
        SetAlpha(0.55f);
        DrawRect(cx - ancho / 2.0f - margen, y - margen / 2.0f, ancho + 2.0f * margen,
                 alto * static_cast<float>(lineas.size()) + margen / 2.0f);
    }
    SetScale(escala, escala);
    for (const std::string& linea : lineas) {
        const float x = cx - static_cast<float>(TextWidth(linea)) * escala / 2.0f;
        SetColor(0, 0, 0);
        SetAlpha(0.6f);
        DrawText(linea, x + escala, y + escala);
        SetColor(255, 255, 255);
        SetAlpha(1.0f);
        DrawText(linea, x, y);
        y += alto;
    }
    SetScale(1.0f, 1.0f);
    SetImageFont(before);
}

void ponaviso(const std::string& texto) { g_aviso = texto; }
void quitaaviso() { g_aviso.clear(); }
const std::string& aviso() { return g_aviso; }

void dibujaaviso() {
    if (g_aviso.empty()) return;
    std::vector<std::string> lineas;
    std::istringstream in(g_aviso);
    for (std::string l; std::getline(in, l);) lineas.push_back(l);
    // Low in the middle, between the author line and the options.
    const float y = static_cast<float>(altopantalla) - 60.0f - 25.0f * static_cast<float>(lineas.size());
    dibujalineas(lineas, static_cast<float>(centrox), y, 1.5f);
}

}  // namespace virexo

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

namespace {

// The panel's box in the built-in font, which the caller has set.
CajaTiempo Caja(const std::vector<std::string>& lineas, float cx, float y, float escala) {
    using namespace kestrel;
    const float alto = static_cast<float>(TextHeight()) * escala * 1.25f;
    float ancho = 0.0f;
    for (const std::string& linea : lineas) ancho = std::max(ancho, static_cast<float>(TextWidth(linea)) * escala);
    if (ancho <= 0.0f) return {};
    const float margen = 8.0f * escala;
    return {cx - ancho / 2.0f - margen, y - margen / 2.0f, cx + ancho / 2.0f + margen,
            y + alto * static_cast<float>(lineas.size())};
}

}  // namespace

CajaTiempo cajalineas(const std::vector<std::string>& lineas, float cx, float y, float escala) {
    const kestrel::TImageFontPtr before = kestrel::GetImageFont();
    kestrel::SetImageFont(nullptr);
    const CajaTiempo c = Caja(lineas, cx, y, escala);
    kestrel::SetImageFont(before);
    return c;
}

void dibujalineas(const std::vector<std::string>& lineas, float cx, float y, float escala) {
    using namespace kestrel;
    const TImageFontPtr before = GetImageFont();
    SetImageFont(nullptr);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    const float alto = static_cast<float>(TextHeight()) * escala * 1.25f;
    // A dark panel behind the block keeps it readable over any glow.
    const CajaTiempo panel = Caja(lineas, cx, y, escala);
    if (panel.x1 > panel.x0) {
        SetScale(1.0f, 1.0f);
        SetColor(0, 0, 0);
        SetAlpha(0.55f);
        DrawRect(panel.x0, panel.y0, panel.ancho(), panel.alto());
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

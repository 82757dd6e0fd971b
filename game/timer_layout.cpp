#include "game/timer_layout.h"

#include <algorithm>
#include <cmath>

#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d.h"

namespace virexo {

namespace {

// The x ranges between the boxes' x ranges and the screen's edges.
std::vector<std::pair<float, float>> Gaps(float w, std::vector<CajaTiempo> boxes) {
    std::sort(boxes.begin(), boxes.end(), [](const CajaTiempo& a, const CajaTiempo& b) { return a.x0 < b.x0; });
    std::vector<std::pair<float, float>> gaps;
    float from = 0.0f;
    for (const CajaTiempo& b : boxes) {
        if (b.x0 > from) gaps.emplace_back(from, b.x0);
        from = std::max(from, b.x1);
    }
    if (w > from) gaps.emplace_back(from, w);
    return gaps;
}

}  // namespace

ColocacionTiempo colocatiempo(const CajaTiempo& tinta, float x, float y,
                              const std::vector<CajaTiempo>& libres) {
    // The box the counter would cover where it is described.
    const CajaTiempo donde{x + tinta.x0, y + tinta.y0, x + tinta.x1, y + tinta.y1};
    const float cx = (donde.x0 + donde.x1) / 2, cy = (donde.y0 + donde.y1) / 2;
    ColocacionTiempo best{x, y, 1.0f};
    float bestScale = -1.0f, bestMove = 0.0f;
    for (const CajaTiempo& a : libres) {
        if (a.ancho() <= 0 || a.alto() <= 0 || tinta.ancho() <= 0 || tinta.alto() <= 0) continue;
        const float s = std::min({1.0f, a.ancho() / tinta.ancho(), a.alto() / tinta.alto()});
        // At scale s the box keeps its centre where the room allows, and is
        // shifted into the area as little as needed.
        const float bw = tinta.ancho() * s, bh = tinta.alto() * s;
        float x0 = std::clamp(cx - bw / 2, a.x0, a.x1 - bw);
        float y0 = std::clamp(cy - bh / 2, a.y0, a.y1 - bh);
        if (s == 1.0f) {  // whole: where it is described, if that is inside
            x0 = std::clamp(donde.x0, a.x0, a.x1 - bw);
            y0 = std::clamp(donde.y0, a.y0, a.y1 - bh);
        }
        const float move = std::hypot(x0 + bw / 2 - cx, y0 + bh / 2 - cy);
        if (s > bestScale + 1e-4f || (std::fabs(s - bestScale) <= 1e-4f && move < bestMove)) {
            bestScale = s;
            bestMove = move;
            best = {x0 - tinta.x0 * s, y0 - tinta.y0 * s, s};
        }
    }
    return best;
}

std::vector<CajaTiempo> zonaslibres(float w, float h, const std::vector<CajaTiempo>& tableros,
                                    const std::vector<CajaTiempo>& caminos, float margen) {
    float top = h;  // where the highest walking row begins
    for (const CajaTiempo& c : caminos) top = std::min(top, c.y0);
    std::vector<CajaTiempo> all = tableros;
    all.insert(all.end(), caminos.begin(), caminos.end());
    std::vector<CajaTiempo> out;
    for (const auto& [x0, x1] : Gaps(w, tableros)) {
        // Above the walking rows, only the boards bound the area; beside
        // them, the throwers' reach does too.
        out.push_back({x0 + margen, margen, x1 - margen, top - margen});
        for (const auto& [g0, g1] : Gaps(w, all))
            if (g0 >= x0 && g1 <= x1) out.push_back({g0 + margen, margen, g1 - margen, h - margen});
    }
    return out;
}

CajaTiempo tintatiempo(const std::string& text) {
    const kestrel::TImageFontPtr font = kestrel::GetImageFont();
    CajaTiempo ink{0, 0, 0, 0};
    bool any = false;
    float pen = 0.0f;
    if (font) {
        for (char c : text) {
            const int i = font->CharToGlyph(static_cast<unsigned char>(c));
            const kestrel::TImageGlyphPtr g = i < 0 ? nullptr : font->LoadGlyph(i);
            if (!g) continue;
            int gx, gy, gw, gh;
            g->GetRect(gx, gy, gw, gh);
            if (gw > 0 && gh > 0) {
                const CajaTiempo b{pen + gx, float(gy), pen + gx + gw, float(gy + gh)};
                ink = any ? CajaTiempo{std::min(ink.x0, b.x0), std::min(ink.y0, b.y0),
                                       std::max(ink.x1, b.x1), std::max(ink.y1, b.y1)}
                          : b;
                any = true;
            }
            pen += g->Advance();
        }
    }
    if (!any) return ink;
    ink.x1 += kSombraTiempo;
    ink.y1 += kSombraTiempo;
    return ink;
}

}  // namespace virexo

#include "game/screens.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "game/computer/versus.h"
#include "game/explota.h"
#include "game/globals.h"
#include "game/look_random.h"
#include "game/play_mode.h"
#include "game/screen_flow.h"
#include "game/screen_layout.h"
#include "game/doc.h"
#include "game/tablero.h"
#include "game/timer_layout.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d.h"

namespace virexo {

namespace {

using namespace kestrel;

float SinDeg(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }
float CosDeg(float degrees) { return static_cast<float>(std::cos(degrees * std::numbers::pi / 180.0)); }

void Reset() {
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
}

// Whether the state's screen shows the boards.
bool ConTableros(const std::string& state) {
    PantallaFinal f;
    return state == "juego" || state == "iniciajuego" || pantallafinal(state, &f);
}

// False while what lies under a frame's pieces is drawn by the backdrop.
bool g_confondos = true;

void DrawBoards() {
    for (int i = 0; i < jugadores; ++i) {
        if (!tableros[i]) continue;
        tableros[i]->dibuja(0, g_confondos);
        // The renderer fills this board while the next one is sent.
        SubmitDrawing();
    }
}

// The option lines this machine's player can press: all of them offline.
OpcionesVisibles Visibles() { return modoactual() ? modoactual()->opciones() : OpcionesVisibles{}; }

void DrawTitle() {
    const float t = fotograma;
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetScale(0.75f * (1.5f + 0.25f * CosDeg(0.25f * t)), 0.75f * (1.25f + 0.25f * SinDeg(0.5f * t)));
    for (int i = 0; i < 6; ++i) {
        const float a = i * 60 + t / 10;
        DrawImage(imgvirusgrande[i], centrox + 340 * CosDeg(a), centroy + 240 * SinDeg(a), 0);
    }
    SetScale(1.25f + 0.25f * SinDeg(0.5f * t), 1.5f + 0.25f * CosDeg(0.25f * t));
    DrawImage(imgdocgrande, static_cast<float>(centrox), static_cast<float>(centroy), 0);
    SetScale(1.0f, 1.0f);
    const SitioEtiqueta autor = sitioautor();
    DrawImage(imgautor, autor.x, autor.y, 0);
    const unsigned filas = Visibles().titulo;
    dibujafilas(imgopciones, sitioopciones(), kCortesOpciones, filas);
    // The versus option, one line above the list and lined up with it.
    if ((filas & kFilaVersus) && computer::Pictures().option) {
        const SitioEtiqueta versus = sitioversus();
        DrawImage(computer::Pictures().option, versus.x, versus.y, 0);
    }
    const SitioEtiqueta banner = sitiobanner();
    dibujatitulo(imgtitulo, banner.x, banner.y);
}

void DrawDifficulty() {
    Reset();
    dibujafilas(imgdificultad, sitiolista(), kCortesDificultad, Visibles().dificultad);
    const SitioEtiqueta banner = sitiobanner();
    dibujatitulo(imginfeccion, banner.x, banner.y);
}

// The computer's strength, laid out as the difficulty screen.
void DrawStrength() {
    Reset();
    const SitioEtiqueta lista = sitiolista(), banner = sitiobanner();
    DrawImage(computer::Pictures().strengths, lista.x, lista.y, 0);
    dibujatitulo(computer::Pictures().banner, banner.x, banner.y);
}

void DrawHelp() {
    Reset();
    const SitioEtiqueta centro = sitiocentro();
    DrawImage(imgayuda, centro.x, centro.y, 0);
}

void DrawGetReady() {
    DrawBoards();
    Reset();
    // The y offset is drawn first.
    const double dy = RndAspecto(-2, 2);
    const double dx = RndAspecto(-4, 4);
    const SitioEtiqueta centro = sitiocentro();
    DrawImage(imgpreparado, static_cast<float>(centro.x + dx), static_cast<float>(centro.y + dy), 0);
}

void DrawPlay() {
    DrawBoards();
    _explota::dibujaTodo();
    SetRotation(0);
    SetScale(1.0f, 1.0f);
    SetBlend(ALPHABLEND);
    dibujatiempo();
}

void DrawPause() {
    SetRotation(0);
    SetScale(1.0f, 1.0f);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    const SitioEtiqueta opciones = sitiopausa(), banner = sitiobanner();
    DrawImage(imgpausaopciones, opciones.x, opciones.y, 0);
    dibujatitulo(imgpausa, banner.x, banner.y);
}

void DrawEnd(const PantallaFinal& f) {
    const TImagePtr& label = f.label;
    const TImagePtr& banner = f.banner;
    const int lx = f.lx;
    DrawBoards();
    dibujatiempo();
    SetRotation(0);
    SetScale(1.0f, 1.0f);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    // The y offset is drawn first.
    const int dy = RandAspecto(-2, 2);
    const int dx = RandAspecto(-2, 2);
    const SitioEtiqueta at = sitiofinal(lx), top = sitiobanner();
    DrawImage(label, at.x + static_cast<float>(dx), at.y + static_cast<float>(dy), 0);
    dibujatitulo(banner, top.x, top.y);
}

// The boards and the throwers' walking rows, which the time counter keeps
// clear of.
void Obstaculos(std::vector<CajaTiempo>& tableros_, std::vector<CajaTiempo>& caminos) {
    for (int i = 0; i < jugadores && i < static_cast<int>(tableros.size()); ++i) {
        const auto& b = tableros[i];
        if (!b) continue;
        const float w = static_cast<float>(b->ancho * _tablero::kPaso);
        // The grid picture is drawn from one pixel left of the board.
        const float gridW = imgcuadricula ? static_cast<float>(ImageWidth(imgcuadricula)) : w + 2;
        tableros_.push_back({b->osx - 1, b->osy, b->osx - 1 + gridW, b->osy + b->alto * _tablero::kPaso});
        if (b->doc && imgdoc) {
            // The figure (mid-handled, 8 pixels low) and its shadow, 8 more,
            // at the board's first and last columns.
            const float half = ImageWidth(imgdoc) / 2.0f, high = ImageHeight(imgdoc) / 2.0f;
            const float y = b->osy + b->doc->sy + 8;
            caminos.push_back({b->osx + 24 - half, y - high, b->osx + w - 24 + half + 8, y + high + 8});
        }
    }
}

}  // namespace

void dibujatitulo(const TImagePtr& image, float x, float y) {
    const int n = RandAspecto(0, 100);
    for (int i = 0; i < 10; ++i) {
        const float sx = n < 10 ? static_cast<float>(x + RndAspecto(-8, 8)) : x;
        DrawImage(image, sx, y + 17 * i, i);
    }
}

void dibujatiempo() {
    SetRotation(0);
    SetScale(1.0f, 1.0f);
    SetBlend(ALPHABLEND);
    const std::string s = std::to_string(static_cast<int>(tiempo));
    const int w = static_cast<int>(TextWidth(s));
    // Right-aligned on x 896 for one player, centred between the boards for
    // two, its shadow 10 pixels right and down; moved, or scaled down, only
    // as far as it must be to stay on the screen and off the boards.
    const int textX = jugadores == 1 ? anchopantalla - centrox / 4 - w : centrox - w / 2;
    std::vector<CajaTiempo> boards, walks;
    Obstaculos(boards, walks);
    const ColocacionTiempo at =
        colocatiempo(tintatiempo(s), static_cast<float>(textX), static_cast<float>(altopantalla - 100),
                     zonaslibres(static_cast<float>(anchopantalla), static_cast<float>(altopantalla),
                                 boards, walks, 3.0f));
    SetScale(at.escala, at.escala);
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawText(s, at.x + kSombraTiempo * at.escala, at.y + kSombraTiempo * at.escala);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    DrawText(s, at.x, at.y);
    SetScale(1.0f, 1.0f);
}

std::vector<ImageOver> bajotableros(const std::string& state) {
    std::vector<ImageOver> bajo;
    if (!ConTableros(state)) return bajo;
    for (int i = 0; i < jugadores; ++i)
        if (tableros[i]) tableros[i]->bajopiezas(&bajo);
    return bajo;
}

void dibujapantalla(const std::string& state, bool confondos) {
    g_confondos = confondos;
    if (state == "menu") DrawTitle();
    else if (state == "dificultad") DrawDifficulty();
    else if (state == "rival") DrawStrength();
    else if (state == "ayuda") DrawHelp();
    else if (state == "iniciajuego") DrawGetReady();
    else if (state == "juego") DrawPlay();
    else if (state == "pausa") DrawPause();
    else if (PantallaFinal f; pantallafinal(state, &f)) DrawEnd(f);
}

}  // namespace virexo

// What lies under the boards' pieces laid into the backdrop's own picture on
// the CPU (grids, throwers, their columns and shadows, the plain pieces'
// shadows), against the same frame with all of it drawn over the backdrop
// one picture at a time, with the game's own pictures on a real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/backdrop.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/program.h"
#include "game/screen_flow.h"
#include "game/screens.h"
#include "game/tablero.h"
#include "tests/game/picture_difference.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

constexpr int kF2 = 113;

using pruebas::Compara;
using pruebas::Diferencia;

class BoardUnderlay : public ::testing::Test {
protected:
    void SetUp() override {
        replay::Script script;
        script.frames = 1 << 30;
        script.seed = 9;
        script.clipUnshot = false;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        for (int i = 0; i < 30; ++i) harness.Step();
        harness.Press(kF2);  // two players
        for (int i = 0; i < 3; ++i) harness.Step();
        harness.Press(kF2);
        while (estado != "juego" && harness.frame() < 600) harness.Step();
        ASSERT_EQ(estado, "juego");
        for (const auto& board : tableros)
            if (board)
                for (int i = 0; i < 6 && estado == "juego"; ++i) board->ponlinea();
        for (int i = 0; i < 40; ++i) harness.Step();
        ASSERT_EQ(estado, "juego");
    }
    void TearDown() override { kestrel::RunExitHandlers(); }

    // The frame as the game draws it, and with the boards drawing all of
    // it themselves over the backdrop.
    static kestrel::TPixmapPtr Juntos() {
        dibuja();
        return kestrel::GrabPixmap(0, 0, 1024, 768);
    }
    static kestrel::TPixmapPtr Aparte() {
        kestrel::Cls();
        dibujafondo();
        dibujapantalla(estado);
        return kestrel::GrabPixmap(0, 0, 1024, 768);
    }

    replay::Harness harness;
};

TEST_F(BoardUnderlay, LaidIntoTheBackdropItLooksAsDrawnOverIt) {
    ASSERT_TRUE(tableros[0] && tableros[1] && tableros[0]->doc && tableros[1]->doc);
    _doc& doc0 = *tableros[0]->doc;
    _doc& doc1 = *tableros[1]->doc;
    const auto cuenta = [](const _tablero& b, int bixo) {
        int n = 0;
        for (const auto& f : *b.fichas) n += f->bixo == bixo;
        return n;
    };
    ASSERT_GT(cuenta(*tableros[0], 0), 20);
    ASSERT_GT(cuenta(*tableros[0], 1), 5);
    const auto reposo = [](const _tablero& b, float escala) {
        for (const auto& f : *b.fichas)
            if (f->bixo != 0) f->sx = f->sy = escala;
    };
    // What a board laid: shadows (the thrower's among them) and pieces at
    // their full colour, told by their tint and size.
    struct Puesto {
        int sombras = 0, piezas = 0;
    };
    const auto puesto = [](const std::vector<kestrel::ImageOver>& bajo) {
        Puesto p;
        for (const kestrel::ImageOver& o : bajo) {
            p.sombras += o.red == 0 && o.alpha == 0.5f;
            p.piezas += o.alpha == 1.0f && o.image->width == 36;
        }
        return p;
    };
    // Each board holds six pushed rows: the throwers' columns run through
    // pieces and their shadows, the figures lie under the lowest ones, and
    // viruses sit among plain pieces.
    const auto mira = [&](const char* what) {
        std::vector<kestrel::ImageOver> bajo0, bajo1;
        const bool todo0 = tableros[0]->bajopiezas(&bajo0), todo1 = tableros[1]->bajopiezas(&bajo1);
        EXPECT_TRUE(todo0 && todo1) << what;
        const kestrel::TPixmapPtr juntos = Juntos(), aparte = Aparte();
        kestrel::Flip(0);
        const Diferencia d = Compara(juntos, aparte);
        const Puesto p = puesto(bajo0);
        std::printf("%s: %d shadows and %d pieces laid of %d + %d, %ld pixels more than a level apart, by %d at most\n",
                    what, p.sombras, p.piezas, cuenta(*tableros[0], 0), cuenta(*tableros[0], 1), d.masde[1], d.mayor);
        EXPECT_LE(d.mayor, 2) << what;
        EXPECT_LE(d.masde[1], 200) << what;
        return p;
    };
    const int pastillas = cuenta(*tableros[0], 0), todas = pastillas + cuenta(*tableros[0], 1);
    // Facing right and left, the viruses at rest: every shadow and every
    // plain piece.
    doc0.t = doc0.td = 1.0f;
    doc1.t = doc1.td = -1.0f;
    reposo(*tableros[0], 1.0f);
    reposo(*tableros[1], 1.0f);
    Puesto p = mira("facing right and left, viruses at rest");
    EXPECT_EQ(p.sombras, 1 + todas);
    EXPECT_EQ(p.piezas, pastillas);
    doc0.t = doc0.td = -1.0f;
    doc1.t = doc1.td = 0.99999994f;  // where a turn comes to rest in floats
    p = mira("facing left and right");
    EXPECT_EQ(p.sombras, 1 + todas);

    // Viruses twitching: their shadows are the board's, and so are the
    // plain pieces they fall on.
    reposo(*tableros[0], 1.2f);
    reposo(*tableros[1], 1.0000012f);  // where a twitch comes to rest
    p = mira("viruses twitching");
    EXPECT_EQ(p.sombras, 1 + pastillas);
    EXPECT_LT(p.piezas, pastillas);
    EXPECT_GT(p.piezas, 0);

    // Turning: the shadows and pieces away from the thrower, which the
    // board draws with those near it.
    reposo(*tableros[0], 1.0f);
    doc0.t = 0.3f;
    doc1.t = -0.6f;
    p = mira("turning");
    EXPECT_LT(p.sombras, todas);
    EXPECT_GT(p.sombras, todas / 2);
    EXPECT_LT(p.piezas, pastillas);
    EXPECT_GT(p.piezas, pastillas / 2);

    // The underlay does show: without the boards' own drawing, the
    // thrower's column is lighter than the grid alone, and the shadows
    // darker.
    doc0.t = doc0.td = 1.0f;
    std::vector<kestrel::ImageOver> solo;
    tableros[0]->bajopiezas(&solo);
    kestrel::Cls();
    dibujafondo(solo);
    const kestrel::TPixmapPtr fondo = kestrel::GrabPixmap(0, 0, 1024, 768);
    kestrel::Cls();
    dibujafondo({solo.front()});
    const kestrel::TPixmapPtr rejilla = kestrel::GrabPixmap(0, 0, 1024, 768);
    kestrel::Flip(0);
    const int x0 = int(std::round(doc0.sx + tableros[0]->sxdibujo()));
    int claros = 0, oscuros = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            const int antes = rejilla->PixelPtr(x, y)[1], ahora = fondo->PixelPtr(x, y)[1];
            claros += x >= x0 && x < x0 + 48 && ahora > antes + 10;
            oscuros += ahora < antes - 20;
        }
    EXPECT_GT(claros, 48 * 150);
    std::printf("x0 %d: %d pixels of the column lighter, %d pixels darker\n", x0, claros, oscuros);
    EXPECT_GT(oscuros, 20 * 400);
}

}  // namespace
}  // namespace virexo

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
#include "toolkit/core/exit_handlers.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

constexpr int kF2 = 113;

struct Diferencia {
    int pixeles = 0;  // pixels with a channel more than a level apart
    int mayor = 0;    // the largest difference of one channel
};

Diferencia Compara(const kestrel::TPixmapPtr& a, const kestrel::TPixmapPtr& b) {
    Diferencia d;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const std::uint8_t* p = a->PixelPtr(x, y);
            const std::uint8_t* q = b->PixelPtr(x, y);
            int m = 0;
            for (int c = 0; c < 3; ++c) m = std::max(m, std::abs(int(p[c]) - int(q[c])));
            d.pixeles += m > 1;
            d.mayor = std::max(d.mayor, m);
        }
    return d;
}

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
    const auto pastillas = [](const _tablero& b) {
        int n = 0;
        for (const auto& f : *b.fichas) n += f->bixo == 0;
        return n;
    };
    ASSERT_GT(pastillas(*tableros[0]), 20);
    // Each board holds six pushed rows: the throwers' columns run through
    // pieces and their shadows, and the figures lie under the lowest ones.
    const auto mira = [&](const char* what, int laid0, int laid1) {
        std::vector<kestrel::ImageOver> bajo0, bajo1;
        const bool todo0 = tableros[0]->bajopiezas(&bajo0), todo1 = tableros[1]->bajopiezas(&bajo1);
        EXPECT_TRUE(todo0 && todo1) << what;
        EXPECT_EQ(int(bajo0.size()), laid0) << what;
        EXPECT_EQ(int(bajo1.size()), laid1) << what;
        const kestrel::TPixmapPtr juntos = Juntos(), aparte = Aparte();
        kestrel::Flip(0);
        const Diferencia d = Compara(juntos, aparte);
        std::printf("%s: %zu + %zu laid, %d pixels more than a level apart, by %d at most\n", what,
                    bajo0.size(), bajo1.size(), d.pixeles, d.mayor);
        EXPECT_LE(d.mayor, 2) << what;
        EXPECT_LE(d.pixeles, 200) << what;
    };
    // Facing right and left: the grid, the thrower's shadow, column and
    // figure, and every plain piece's shadow.
    doc0.t = doc0.td = 1.0f;
    doc1.t = doc1.td = -1.0f;
    mira("facing right and left", 4 + pastillas(*tableros[0]), 4 + pastillas(*tableros[1]));
    doc0.t = doc0.td = -1.0f;
    doc1.t = doc1.td = 0.99999994f;  // where a turn comes to rest in floats
    mira("facing left and right", 4 + pastillas(*tableros[0]), 4 + pastillas(*tableros[1]));

    // Turning: the grid and the shadows away from the thrower, which the
    // board draws with the shadows near it.
    doc0.t = 0.3f;
    doc1.t = -0.6f;
    std::vector<kestrel::ImageOver> bajo;
    ASSERT_TRUE(tableros[0]->bajopiezas(&bajo));
    const int lejos = int(bajo.size()) - 1;
    EXPECT_LT(lejos, pastillas(*tableros[0]));
    EXPECT_GT(lejos, pastillas(*tableros[0]) / 2);
    bajo.clear();
    tableros[1]->bajopiezas(&bajo);
    mira("turning", 1 + lejos, int(bajo.size()));

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

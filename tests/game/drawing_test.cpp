// Drawing of the game types on a real OpenGL context: layer order (viruses
// over plain pieces), the shake offset, the thrower's column highlight, the
// diagnostic overlay only when asked for, and the particles.
#include <gtest/gtest.h>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "tests/graphics/gl_fixture.h"
#include "toolkit/resources/pixmap.h"

namespace virexo {
namespace {

using kestrel::test::Screen;

kestrel::TImagePtr Solid(int w, int h, std::uint32_t argb) {
    auto p = kestrel::CreatePixmap(w, h, kestrel::PF_RGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, argb);
    auto img = kestrel::LoadImage(p, 0);
    kestrel::MidHandleImage(img);
    return img;
}

class DrawingTest : public kestrel::test::GLTest {
protected:
    void SetUp() override {
        kestrel::test::GLTest::SetUp();
        if (IsSkipped()) return;
        ReiniciaGlobales();
        lineasiniciales = 0;
        imgpastilla[0] = Solid(48, 48, 0xFFFF0000u);  // red
        imgvirus[0] = Solid(64, 64, 0xFF0000FFu);     // blue
        board = _tablero::crea(0.0f, 0.0f, 6, 5, _doc::crea(0, 5.0f, 4.0f));
    }
    void TearDown() override { ReiniciaGlobales(); }

    std::shared_ptr<_ficha> Piece(int i, int j, int bixo) {
        auto f = std::make_shared<_ficha>();
        f->x = static_cast<float>(i * 48);
        f->y = f->dy = static_cast<float>(j * 48);
        f->bixo = bixo;
        f->sx = f->sy = 1.0f;
        f->tablero = board;
        f->img = bixo ? imgvirus[0] : imgpastilla[0];
        board->fichas->AddLast(f);
        return f;
    }

    std::shared_ptr<_tablero> board;
};

TEST_F(DrawingTest, VirusesAreDrawnOverPlainPiecesAndFollowTheShake) {
    Piece(1, 1, 1);  // the virus comes first in the list
    Piece(1, 1, 0);
    Piece(3, 1, 0);
    board->dibuja(0);
    Screen s;
    const auto mid = s.at(72, 72);
    EXPECT_EQ(mid.b, 255);
    EXPECT_EQ(mid.r, 0);
    // The plain piece at 0.75 scale covers 36 x 36 around its centre.
    EXPECT_EQ(s.at(168, 72).r, 255);
    EXPECT_TRUE(s.IsBlack(168 + 20, 72 - 20));
    // Its shadow: half-black over nothing stays black; the picture's own
    // pixels are untouched by it.
    EXPECT_EQ(s.at(168 - 15, 72 - 15).r, 255);

    // With the board shaken 10 pixels right, everything moves with it.
    kestrel::Cls();
    board->sx = 10.0f;
    board->dibuja(0);
    Screen t;
    EXPECT_EQ(t.at(168 + 10 + 16, 72).r, 255);
    EXPECT_TRUE(t.IsBlack(168 - 18 + 8, 60));
}

TEST_F(DrawingTest, ThrowerLightsItsColumnAndOverlayNeedsDebug) {
    board->dibuja(0);
    Screen s;
    // Column 5 (x 240..287) under 0.25 alpha of near-white.
    const auto lit = s.at(250, 20);
    EXPECT_NEAR(lit.r, 62, 2);
    EXPECT_TRUE(s.IsBlack(200, 20));
    // No overlay: an empty cell stays dark.
    bool any = false;
    for (int y = 96; y < 144; ++y)
        for (int x = 96; x < 144; ++x) any = any || s.Lit(x, y);
    EXPECT_FALSE(any);

    kestrel::Cls();
    board->dibuja(1);
    Screen t;
    any = false;
    for (int y = 96; y < 144; ++y)
        for (int x = 96; x < 144; ++x) any = any || t.Lit(x, y);
    EXPECT_TRUE(any);  // the "." of the empty cell
}

TEST_F(DrawingTest, ParticlesDrawAtTheirPlaceWithoutFollowingTheBoard) {
    _explota::crea(48.0f, 100.0f, imgpastilla[0], 20.0f);
    board->sx = 50.0f;  // a later shake does not move the particle
    _explota::dibujaTodo();
    Screen s;
    // Centre at (48 + 20 + 24, 124); at 0.8 scale the 48-pixel picture spans
    // 38 pixels.
    EXPECT_EQ(s.at(92, 124).r, 255);
    EXPECT_EQ(s.at(92 - 17, 124).r, 255);
    EXPECT_NE(s.at(92 - 22, 124).r, 255);
}

}  // namespace
}  // namespace virexo

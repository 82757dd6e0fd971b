// Drawing of the game types on a real OpenGL context: layer order (viruses
// over plain pieces), pieces drawn a picture at a time, the shake offset, the
// thrower's column highlight, the diagnostic overlay only when asked for, and
// the particles.
#include <gtest/gtest.h>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "tests/graphics/gl_fixture.h"
#include "toolkit/graphics/gl_lumo2d_driver.h"
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

// A disc of the colour on transparency, so that shadows show around it.
kestrel::TImagePtr Disc(int side, std::uint32_t argb) {
    auto p = kestrel::CreatePixmap(side, side, kestrel::PF_RGBA8888);
    const int r = side / 2;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            p->WritePixel(x, y, (x - r) * (x - r) + (y - r) * (y - r) < r * r ? argb : 0u);
    auto img = kestrel::LoadImage(p, kestrel::FILTEREDIMAGE);
    kestrel::MidHandleImage(img);
    return img;
}

// The same colours on screen, each channel within one level: two shadows
// that overlap round to one level apart in either order. (The back buffer's
// alpha is not shown.)
bool SameColoursWithinALevel(const kestrel::TPixmapPtr& a, const kestrel::TPixmapPtr& b) {
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x)
            for (int shift : {0, 8, 16}) {
                const int ca = int(a->ReadPixel(x, y) >> shift & 0xFFu), cb = int(b->ReadPixel(x, y) >> shift & 0xFFu);
                if (ca - cb > 1 || cb - ca > 1) return false;
            }
    return true;
}

long TextureChanges() { return kestrel::TGLLumo2DDriver::StateCache().counts().texture; }

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

TEST_F(DrawingTest, AShakeBetweenPixelsDrawsTheBoardOnTheNearestWholePixel) {
    // Filtered pictures, which a draw between pixels would blur.
    imgpastilla[0] = Disc(48, 0xFFFF0000u);
    imgvirus[0] = Disc(64, 0xFF0000FFu);
    imgdoc = Disc(40, 0xFF00FF00u);
    imgcuadricula = Solid(6 * 48 + 2, 5 * 48, 0x8020A040u);
    Piece(1, 1, 1)->img = imgvirus[0];
    Piece(3, 1, 0)->img = imgpastilla[0];
    Piece(4, 2, 0)->img = imgpastilla[0];
    const auto drawn = [&](float sx) {
        kestrel::Cls();
        board->sx = sx;
        board->dibuja(0);
        return Screen().pixmap();
    };
    const kestrel::TPixmapPtr whole = drawn(10.0f);
    const kestrel::TPixmapPtr twice = drawn(10.0f);
    for (const float sx : {10.4f, 9.6f, 10.0001f}) {
        EXPECT_TRUE(SameColoursWithinALevel(whole, drawn(sx))) << sx;
        EXPECT_EQ(board->rejilla().x, 9.0f) << sx;
    }
    // A whole pixel further is another picture: the board did move.
    EXPECT_FALSE(SameColoursWithinALevel(whole, drawn(11.0f)));
    EXPECT_EQ(board->rejilla().x, 10.0f);
    // The game's own position stays where the shake put it.
    drawn(10.4f);
    EXPECT_FLOAT_EQ(board->sx, 10.4f);
    EXPECT_TRUE(SameColoursWithinALevel(whole, twice));
    imgdoc = nullptr;
    imgcuadricula = nullptr;
}

TEST_F(DrawingTest, MovingPiecesAndTheWalkingThrowerAreDrawnOnWholePixels) {
    // Filtered pictures, which a draw between pixels would blur; the
    // figure's odd rows put its centre between two.
    imgpastilla[0] = Disc(48, 0xFFFF0000u);
    imgvirus[0] = Disc(64, 0xFF0000FFu);
    imgdoc = Disc(41, 0xFF00FF00u);
    auto pill = Piece(3, 1, 0), virus = Piece(1, 2, 1);
    pill->img = imgpastilla[0];
    virus->img = imgvirus[0];
    const auto drawn = [&](float pill_y, float doc_x, float scale) {
        kestrel::Cls();
        pill->y = pill_y;
        virus->sx = scale;
        board->doc->sx = doc_x;
        board->dibuja(0);
        return Screen().pixmap();
    };
    const kestrel::TPixmapPtr still = drawn(48.0f, 240.0f, 1.0f);
    // A piece gliding 0.3 pixels above its row, the thrower 0.4 pixels
    // short of its column, a virus where its twitch comes to rest.
    EXPECT_TRUE(SameColoursWithinALevel(still, drawn(47.7f, 239.6f, 1.0000012f)));
    EXPECT_FLOAT_EQ(pill->y, 47.7f);
    EXPECT_FLOAT_EQ(board->doc->sx, 239.6f);
    // A whole pixel on, and a twitch, are other pictures.
    EXPECT_FALSE(SameColoursWithinALevel(still, drawn(49.0f, 240.0f, 1.0f)));
    EXPECT_FALSE(SameColoursWithinALevel(still, drawn(48.0f, 241.0f, 1.0f)));
    EXPECT_FALSE(SameColoursWithinALevel(still, drawn(48.0f, 240.0f, 1.1f)));
    // Drawn on a whole pixel, the figure shows its picture's own texels:
    // down its middle, rows of its full green and of the column's light
    // (62, or 31 under the shadow), none blurred with the row beside.
    const kestrel::TPixmapPtr figure = drawn(48.0f, 240.0f, 1.0f);
    int full = 0, blurred = 0;
    for (int y = 0; y < figure->height; ++y) {
        const std::uint32_t green = figure->ReadPixel(240 + 24, y) >> 8 & 0xFFu;
        full += green == 255;
        blurred += green > 70 && green < 250;
    }
    EXPECT_GE(full, 38);
    EXPECT_EQ(blurred, 0);

    imgdoc = nullptr;
}

TEST_F(DrawingTest, PiecesAreDrawnAPictureAtATimeWithTheSamePicture) {
    imgpastilla[0] = Disc(48, 0xFFFF0000u);
    imgpastilla[1] = Disc(48, 0xFF00FF00u);
    imgvirus[0] = Disc(64, 0xFF0000FFu);
    imgvirus[1] = Disc(64, 0xFFFFFF00u);
    // Colours alternating along the list, as a board fills.
    for (int i = 0; i < 6; ++i) Piece(i, 2, 0)->color = i % 2;
    for (int i = 0; i < 6; ++i) Piece(i, 3, 0)->color = (i + 1) % 2;
    for (int i = 0; i < 4; ++i) Piece(i, 4, 1)->color = i % 2;
    for (const auto& f : *board->fichas) f->img = f->bixo ? imgvirus[f->color] : imgpastilla[f->color];
    // Two viruses swollen over each other: the later one in the list stays on top.
    auto a = Piece(5, 0, 1), b = Piece(5, 1, 1);
    a->img = imgvirus[1];
    a->color = 1;
    b->img = imgvirus[0];
    a->sy = b->sy = 1.25f;

    // A grey screen, so that every shadow shows, and overlapping ones too.
    kestrel::SetClsColor(128, 128, 128);
    kestrel::Cls();
    const long before = TextureChanges();
    board->dibuja(0);
    // Shadows: two pill pictures and two virus pictures; pills: two; viruses
    // in the board's order: six changes of picture. In list order it was 32.
    EXPECT_LE(TextureChanges() - before, 4 + 2 + 6);
    Screen grouped;

    // The same board drawn piece by piece in its list order.
    kestrel::Cls();
    board->dibujaFondo();
    board->doc->dibujasombra();
    board->doc->dibuja();
    for (const auto& f : *board->fichas) f->dibujasombra();
    for (const auto& f : *board->fichas)
        if (f->bixo == 0) f->dibuja();
    for (const auto& f : *board->fichas)
        if (f->bixo != 0) f->dibuja();
    Screen inOrder;
    EXPECT_TRUE(SameColoursWithinALevel(grouped.pixmap(), inOrder.pixmap()));
    // The first pill's shadow beside it halves the grey, and the swollen
    // blue virus is over the yellow one.
    EXPECT_NEAR(inOrder.at(46, 136).r, 64, 2);
    EXPECT_EQ(inOrder.at(5 * 48 + 24, 48 + 24 - 30).b, 255);
    kestrel::SetClsColor(0, 0, 0);
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

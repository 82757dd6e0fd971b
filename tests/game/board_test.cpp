// The board: creation, row pushes, the loss line, match checks, the clear
// with its delay, particles and shake, regrouping and the win.
#include "game_fixture.h"

namespace virexo::testing {
namespace {

using BoardTest = GameTest;

TEST_F(BoardTest, NewBoardHasItsInitialRowsDrawnInOrder) {
    periodolinea = 540;
    kestrel::SeedRnd(4242);
    // The colours the generator will give, in push order.
    std::vector<int> colours;
    for (int n = 0; n < 40; ++n) colours.push_back(kestrel::Rand(0, 5));
    kestrel::SeedRnd(4242);
    periodobixo = 11;
    contbixo[0] = 3;
    auto b = NuevoTablero(5);

    EXPECT_EQ(b->lineacont, 540);
    EXPECT_EQ(b->temblorsigno, -1.0f);
    EXPECT_EQ(b->doc->tablero.lock(), b);
    EXPECT_EQ(b->fichas->Count(), 40u);
    int viruses = 0;
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 16; ++j) {
            const auto& f = b->celda(i, j).ficha;
            if (j < 5) {
                ASSERT_TRUE(f) << i << "," << j;
                // Row 0 holds the last pushed row, row 4 the first.
                EXPECT_EQ(f->color, colours[static_cast<std::size_t>((4 - j) * 8 + i)]);
                viruses += f->bixo;
                EXPECT_EQ(b->celda(i, j).marcada, 0);
            } else {
                EXPECT_FALSE(f) << i << "," << j;
            }
        }
    }
    EXPECT_EQ(b->numbixos, viruses);
    // Counter 3 with period 11: pieces 9, 21 and 33 are viruses.
    EXPECT_EQ(viruses, 3);
    EXPECT_EQ(contbixo[0], 40 - 33);
    ExpectInvariantes(*b);
    EXPECT_EQ(estado, "juego");
}

TEST_F(BoardTest, PushIntoTheLossLineEndsTheGameOnce) {
    auto b = NuevoTablero();
    for (int j = 0; j <= 13; ++j) Pon(*b, 2, j, j % 6);
    const auto menuMusic = canalmusica;
    ASSERT_TRUE(menuMusic);
    b->ponlinea();
    EXPECT_TRUE(b->celda(2, 14).ficha);
    EXPECT_EQ(estado, "fin10");
    EXPECT_TRUE(canalmusica);  // the game-over music's channel
    EXPECT_NE(canalmusica, menuMusic);
    EXPECT_EQ(Sonidos(sndfallo), 1);
    EXPECT_EQ(Sonidos(sndgameover), 1);
    ExpectInvariantes(*b);

    // Three columns at once, two players, second player's board.
    estado = "juego";
    jugadores = 2;
    sonidos_.clear();
    auto b2 = NuevoTablero(0, 4.0f, 1);
    for (int i : {0, 3, 7})
        for (int j = 0; j <= 13; ++j) Pon(*b2, i, j, (i + j) % 6);
    b2->ponlinea();
    EXPECT_EQ(estado, "fin21");
    EXPECT_EQ(Sonidos(sndfallo), 1);
    EXPECT_EQ(Sonidos(sndgameover), 1);

    // One row short of the line: no end.
    estado = "juego";
    auto b3 = NuevoTablero();
    for (int j = 0; j <= 12; ++j) Pon(*b3, 5, j, j % 6);
    b3->ponlinea();
    EXPECT_EQ(estado, "juego");
}

TEST_F(BoardTest, RowTimerPushesEveryPeriod) {
    periodolinea = 30;
    auto b = NuevoTablero(2);
    Frames(*b, 30);
    EXPECT_EQ(b->fichas->Count(), 16u);
    EXPECT_EQ(b->lineacont, 0);
    Frames(*b, 1);
    EXPECT_EQ(b->fichas->Count(), 24u);
    EXPECT_EQ(b->lineacont, 30);
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(b->celda(i, 2).ficha);
}

TEST_F(BoardTest, ThrownRedUnderThreeRedsClearsElevenFramesLater) {
    auto b = NuevoTablero(0, 0.0f);
    Pon(*b, 0, 0, kGreen);
    Pon(*b, 0, 1, kRed);
    Pon(*b, 0, 2, kRed);
    Pon(*b, 0, 3, kRed);
    Pon(*b, 1, 1, kBlue);
    Pon(*b, 1, 0, kYellow);
    auto green = b->celda(0, 0).ficha;
    DaEnMano(*b, kRed, 1);
    const std::size_t particles = listaexplota->Count();

    Pulsa(teclaarriba[0]);
    Frames(*b, 1);  // frame F: the throw arms the clear
    EXPECT_EQ(Sonidos(sndlanza), 1);
    EXPECT_EQ(b->limpieza, 1);
    EXPECT_EQ(b->limpiacont, 10);
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(b->celda(0, j).marcada, 2);
    EXPECT_EQ(b->celda(0, 0).marcada, 0);
    const int lineacont = b->lineacont;

    Frames(*b, 10);  // F+1 .. F+10 count down
    EXPECT_EQ(b->limpiacont, 0);
    EXPECT_TRUE(b->celda(0, 4).ficha);
    EXPECT_EQ(b->lineacont, lineacont);  // the row timer stands still

    Frames(*b, 1);  // F+11 clears
    for (int j = 1; j <= 4; ++j) EXPECT_FALSE(b->celda(0, j).ficha);
    EXPECT_EQ(b->celda(0, 0).ficha, green);
    EXPECT_EQ(listaexplota->Count(), particles + 4);
    EXPECT_EQ(Sonidos(sndpastilla), 4);
    EXPECT_EQ(Sonidos(sndbixo), 0);
    EXPECT_EQ(b->limpieza, 0);
    // temblor was set to 8 and that frame's decay took a tenth.
    EXPECT_FLOAT_EQ(b->temblor, 7.2f);
    EXPECT_EQ(b->fichas->Count(), 3u);
    // Particles in scan order: column 0, rows 1 to 4, at the pieces' places.
    int k = 0;
    for (const auto& e : *listaexplota) {
        EXPECT_FLOAT_EQ(e->x, 0.0f);
        EXPECT_FLOAT_EQ(e->vy, -10.0f);
        EXPECT_GE(e->vel, 1.0f);
        EXPECT_LT(e->vel, 3.0f);
        EXPECT_GT(e->y, 0.0f);
        ++k;
    }
}

TEST_F(BoardTest, TwoOfAColourResetMarksAndFourByPushesAloneStay) {
    auto b = NuevoTablero(0, 3.0f);
    Pon(*b, 3, 0, kCyan);
    Pon(*b, 4, 0, kCyan);
    DaEnMano(*b, kCyan, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->limpieza, 0);
    for (const auto& c : b->casilla) EXPECT_EQ(c->marcada, 0);

    // Viruses count like plain pieces: a fourth cyan arms the clear.
    Pon(*b, 2, 0, kCyan, 1);
    DaEnMano(*b, kCyan, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->limpieza, 1);
    Frames(*b, 11);
    EXPECT_EQ(b->numbixos, 0);
    EXPECT_EQ(estado, "fin10b");

    // Pushed rows alone never clear a group, however large.
    estado = "juego";
    periodolinea = 5;
    auto p = NuevoTablero(0, 0.0f);
    for (int j = 0; j < 4; ++j) Pon(*p, 6, j, kMagenta);
    Pon(*p, 5, 0, kMagenta);
    Frames(*p, 6);  // one push
    Frames(*p, 5);  // up to the frame before the next push
    EXPECT_EQ(p->limpieza, 0);
    for (const auto& c : p->casilla) EXPECT_EQ(c->marcada, 0);
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(p->celda(6, j).ficha->color, kMagenta);
    EXPECT_EQ(p->celda(5, 1).ficha->color, kMagenta);
}

TEST_F(BoardTest, SecondGroupRestartsTheDelayAndBothClearTogether) {
    auto b = NuevoTablero(0, 0.0f);
    for (int j = 0; j < 3; ++j) Pon(*b, 0, j, kRed);
    for (int j = 0; j < 3; ++j) Pon(*b, 5, j, kGreen);
    Pon(*b, 1, 0, kBlue);
    Pon(*b, 4, 0, kBlue);
    Pon(*b, 6, 0, kYellow);
    DaEnMano(*b, kRed, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    ASSERT_EQ(b->limpieza, 1);
    Frames(*b, 5);
    EXPECT_EQ(b->limpiacont, 5);

    // Walk to column 5 with a green: the hand is empty now, so take one.
    Coloca(*b, 5);
    DaEnMano(*b, kGreen, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 1);
    EXPECT_EQ(b->limpiacont, 10);
    Frames(*b, 10);
    EXPECT_TRUE(b->celda(0, 0).ficha);
    EXPECT_TRUE(b->celda(5, 0).ficha);
    Frames(*b, 1);
    for (int j = 0; j < 4; ++j) {
        EXPECT_FALSE(b->celda(0, j).ficha);
        EXPECT_FALSE(b->celda(5, j).ficha);
    }
    EXPECT_EQ(Sonidos(sndpastilla), 8);
    EXPECT_FLOAT_EQ(b->temblor, 16.0f * 0.9f);
}

TEST_F(BoardTest, LastVirusWinsOnceEvenWithPlainPiecesClearedAfterIt) {
    auto b = NuevoTablero(0, 2.0f);
    Pon(*b, 2, 0, kYellow, 1);  // the only virus, scanned first
    Pon(*b, 2, 1, kYellow);
    Pon(*b, 3, 0, kYellow);
    Pon(*b, 3, 1, kYellow);
    Pon(*b, 7, 0, kBlue);  // plain pieces remain
    DaEnMano(*b, kYellow, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 12);
    EXPECT_EQ(b->numbixos, 0);
    EXPECT_EQ(estado, "fin10b");
    EXPECT_EQ(Sonidos(sndfallo), 1);
    EXPECT_EQ(Sonidos(sndgameover), 1);
    EXPECT_EQ(Sonidos(sndbixo), 1);
    EXPECT_EQ(Sonidos(sndpastilla), 4);
    EXPECT_TRUE(b->celda(7, 0).ficha);
}

TEST_F(BoardTest, ClearInTheMiddleOfAColumnMovesThePiecesBelowUp) {
    auto b = NuevoTablero(0, 3.0f);
    Pon(*b, 0, 0, kYellow);
    Pon(*b, 0, 1, kRed);
    auto blue = Pon(*b, 0, 2, kBlue);
    auto cyan = Pon(*b, 0, 3, kCyan);
    Pon(*b, 1, 0, kGreen);
    Pon(*b, 1, 1, kRed);
    Pon(*b, 2, 0, kBlue);
    Pon(*b, 2, 1, kRed);
    Pon(*b, 3, 0, kGreen);
    DaEnMano(*b, kRed, 1);
    Pulsa(teclaarriba[0]);
    Frames(*b, 12);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(b->celda(i, 1).ficha && b->celda(i, 1).ficha->color == kRed);
    EXPECT_EQ(b->celda(0, 1).ficha, blue);
    EXPECT_EQ(b->celda(0, 2).ficha, cyan);
    EXPECT_FALSE(b->celda(0, 3).ficha);
    EXPECT_EQ(blue->dy, 48.0f);
    EXPECT_EQ(cyan->dy, 96.0f);
    // The moved pieces glide up from where they were drawn.
    EXPECT_GT(cyan->y, 96.0f);
    Frames(*b, 10);
    EXPECT_NEAR(cyan->y, 96.0f, 0.01f);
}

TEST_F(BoardTest, ShakeAlternatesAndDecays) {
    auto b = NuevoTablero(0, 0.0f);
    b->temblor = 10.0f;
    b->actualiza();
    EXPECT_FLOAT_EQ(b->temblor, 9.0f);
    EXPECT_FLOAT_EQ(b->sx, 320.0f - 9.0f);
    b->actualiza();
    EXPECT_FLOAT_EQ(b->sx, 320.0f + 8.1f);
    EXPECT_EQ(b->temblorsigno, -1.0f);
}

}  // namespace
}  // namespace virexo::testing

// The program's screen flow, driven frame by frame through the replay
// harness: real frames, keys injected as platform key messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/game_io.h"
#include "game/look_random.h"
#include "game/program.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "game/screens.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/resources/pixmap.h"
#include "toolkit/resources/pixmap_loader.h"
#include "toolkit/system/random.h"
#include "tools/replay/replay.h"
#include "game/ficha.h"
#include "toolkit/system/keys.h"

namespace virexo {

using kestrel::KEY_ESCAPE;
using kestrel::KEY_F1;
using kestrel::KEY_F2;
using kestrel::KEY_LEFT;
using kestrel::KEY_SPACE;

namespace {

// The colours of the five initial rows of a one-player game whose title was
// left with this seed: nothing draws a random number between the seeding
// and the pieces of the first rows.
std::string ExpectedInitialColours(int seed) {
    kestrel::SeedRnd(seed);
    std::string colours;
    for (int i = 0; i < 40; ++i) colours += std::to_string(kestrel::Rand(0, 5));
    return colours;
}

// The box of a picture's pixels of exactly one colour (0xRRGGBB); empty
// (x1 < x0) when there are none.
struct Box {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    float cx() const { return (x0 + x1 + 1) / 2.0f; }
    float cy() const { return (y0 + y1 + 1) / 2.0f; }
};
Box BoxOf(const kestrel::TPixmapPtr& p, std::uint32_t rgb) {
    Box b;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            if ((p->ReadPixel(x, y) & 0xFFFFFFu) == rgb) {
                b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
            }
    return b;
}

// An unfiltered, mid-handled image of one colour, to find where a screen
// puts a picture.
kestrel::TImagePtr Marker(int w, int h, std::uint32_t rgb) {
    auto p = kestrel::CreatePixmap(w, h, kestrel::PF_RGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, 0xFF000000u | rgb);
    auto img = kestrel::LoadImage(p, 0);
    kestrel::MidHandleImage(img);
    return img;
}

replay::Script Keys(std::vector<replay::KeyPress> presses, std::optional<int> seed = {}) {
    replay::Script script;
    script.presses = std::move(presses);
    script.seed = seed;
    return script;
}

class Program : public ::testing::Test {
protected:
    // Starts the game once in this process (each test runs in a process of
    // its own under CTest) with the given key presses scripted.
    void StartWith(replay::Script script) {
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        ObservaSonidos([this](const TSoundPtr& s) {
            if (s && s == sndclick) ++clicks;
        });
    }
    // Runs frames until the harness has run `frame` frames.
    void RunTo(int frame) {
        while (harness.frame() < frame) harness.Step();
    }
    // Ends the program's part of the process the way End() does, while the
    // toolkit's state is still alive (static destruction comes later).
    void TearDown() override {
        ObservaSonidos(nullptr);
        kestrel::RunExitHandlers();
    }
    replay::Harness harness;
    int clicks = 0;
};

TEST_F(Program, F1AndF2InOneFrameTakeOnePlayerAndTheDifficultyCreatesAGameAFrameLater) {
    StartWith(Keys({{2, KEY_F1}, {2, KEY_F2}, {4, KEY_F2}}));
    RunTo(1);
    EXPECT_EQ(estado, "menu");
    RunTo(2);
    EXPECT_EQ(estado, "dificultad");
    EXPECT_EQ(jugadores, 1);
    EXPECT_EQ(clicks, 1);
    RunTo(3);
    EXPECT_EQ(estado, "dificultad");  // the F2 of frame 2 was flushed
    RunTo(4);                          // F2 on the difficulty screen: Normal
    EXPECT_EQ(estado, "creapartida");
    EXPECT_EQ(periodobixo, 10);
    EXPECT_EQ(periodolinea, 540);
    EXPECT_EQ(lineasiniciales, 6);
    EXPECT_EQ(tableros[0], nullptr);  // that frame shows the backdrop only
    RunTo(5);
    EXPECT_EQ(estado, "iniciajuego");
    ASSERT_NE(tableros[0], nullptr);
    EXPECT_EQ(tableros[1], nullptr);
    EXPECT_FLOAT_EQ(tableros[0]->osx, 320.0f);
    EXPECT_EQ(tableros[0]->doc, docs[0]);
    EXPECT_EQ(clicks, 3);
}

TEST_F(Program, GetReadyIsDrawnIn181FramesThenPlayBeginsWithItsMusic) {
    StartWith(Keys({{2, KEY_F1}, {3, KEY_F1}}));
    RunTo(4);
    ASSERT_EQ(estado, "iniciajuego");
    int readyFrames = 1;  // frame 4 created the game and drew the get-ready screen
    while (estado == "iniciajuego" && readyFrames < 400) {
        harness.Step();
        if (estado == "iniciajuego") ++readyFrames;
    }
    EXPECT_EQ(readyFrames, 181);
    EXPECT_EQ(estado, "juego");
    EXPECT_EQ(tiempo, 0.0f);
    ASSERT_NE(canalmusica, nullptr);
}

TEST_F(Program, EscapeDuringGetReadyPausesOnTheFirstPlayFrameAndPauseFreezesTheGame) {
    StartWith(Keys({{2, KEY_F1}, {3, KEY_F1}, {50, KEY_ESCAPE}}));
    int frame = 4;
    RunTo(frame);
    while (estado == "iniciajuego") RunTo(++frame);
    EXPECT_EQ(estado, "juego");
    RunTo(++frame);
    EXPECT_EQ(estado, "pausa");  // the held-over Escape hit is read in the first play frame
    EXPECT_FLOAT_EQ(tiempo, 1.0f / 60.0f);

    const float frozen = tiempo;
    const int pushCount = tableros[0]->lineacont;
    RunTo(frame + 30);
    EXPECT_EQ(estado, "pausa");
    EXPECT_EQ(tiempo, frozen);
    EXPECT_EQ(tableros[0]->lineacont, pushCount);
}

TEST_F(Program, TwoPlayersStandOnTheQuarterLinesFirstPlayerOnTheRight) {
    StartWith(Keys({{2, KEY_F2}, {3, KEY_F1}}));
    RunTo(4);
    ASSERT_EQ(estado, "iniciajuego");
    EXPECT_EQ(jugadores, 2);
    ASSERT_NE(tableros[0], nullptr);
    ASSERT_NE(tableros[1], nullptr);
    EXPECT_FLOAT_EQ(tableros[0]->osx, 64.0f);
    EXPECT_FLOAT_EQ(tableros[1]->osx, 576.0f);
    EXPECT_EQ(tableros[0]->doc, docs[1]);  // W A S D on the left
    EXPECT_EQ(tableros[1]->doc, docs[0]);  // arrows on the right
}

// Keys hit during play are dropped as the game enters its end screen: a
// Space (or an Escape) pressed in play and never read there does not skip
// the end screen, and one pressed on the end screen leaves it.
TEST_F(Program, KeysHitDuringPlayDoNotSkipTheEndScreen) {
    for (int key : {KEY_SPACE, KEY_ESCAPE}) {
        SCOPED_TRACE(key);
        const int start = harness.frame();
        if (start == 0) StartWith(Keys({}));
        if (IsSkipped()) return;
        RunTo(start + 1);
        harness.Press(KEY_F1);
        RunTo(start + 2);
        harness.Press(KEY_F1);
        RunTo(start + 4);
        while (estado != "juego" && harness.frame() < start + 400) harness.Step();
        ASSERT_EQ(estado, "juego");
        // The key is hit in play, where nothing reads a Space (an Escape
        // would pause, so it is hit in the very update that ends the game).
        if (key == KEY_SPACE) {
            harness.Press(KEY_SPACE);
            RunTo(harness.frame() + 1);
            ASSERT_EQ(estado, "juego");
        }
        // Rows pushed in until the next push, in the next update, overruns
        // the board.
        const auto& b = *tableros[0];
        for (int i = 0; i < 20 && !b.celda(0, b.alto - 3).ficha; ++i) tableros[0]->ponlinea();
        ASSERT_EQ(estado, "juego");
        tableros[0]->limpieza = 0;
        tableros[0]->lineacont = 0;
        if (key == KEY_ESCAPE) harness.Press(KEY_ESCAPE);
        RunTo(harness.frame() + 1);
        ASSERT_EQ(estado, "fin10");
        const int clicksBefore = clicks;
        RunTo(harness.frame() + 60);
        EXPECT_EQ(estado, "fin10") << "the end screen stays until a key is pressed on it";
        EXPECT_EQ(clicks, clicksBefore);
        harness.Press(key);
        RunTo(harness.frame() + 1);
        EXPECT_EQ(estado, "menu");
        EXPECT_EQ(clicks, clicksBefore + 1);
    }
}

TEST_F(Program, TheSeedNamedByTheScriptMakesTheGameReproducible) {
    StartWith(Keys({{2, KEY_F1}, {3, KEY_F1}}, 99));
    RunTo(4);
    ASSERT_NE(tableros[0], nullptr);
    std::string colours;
    for (const auto& f : *tableros[0]->fichas) colours += std::to_string(f->color);
    EXPECT_EQ(colours.size(), 40u);  // five initial rows of eight
    // The same draws again from the same seed, outside the game.
    EXPECT_EQ(colours, ExpectedInitialColours(99));
}

TEST_F(Program, TheFirstGameStartsItsVirusCountAtZeroAndTheNextOneWhereTheLastLeftIt) {
    StartWith(Keys({{2, KEY_F1}, {3, KEY_F1}}));  // mild: a virus after 11 plain pieces
    RunTo(4);
    ASSERT_NE(tableros[0], nullptr);
    ASSERT_EQ(periodobixo, 11);
    std::string viruses;
    for (const auto& f : *tableros[0]->fichas) viruses += f->bixo ? 'V' : '.';
    EXPECT_EQ(viruses, "...........V...........V...........V....");

    // Back to the title and into a second game: its first rows go on from
    // the count the first game re-seeded, not from zero.
    RunTo(10);
    for (int i = 0; i < 20 && estado != "fin10"; ++i) tableros[0]->ponlinea();
    ASSERT_EQ(estado, "fin10");
    const int left = contbixo[0];
    harness.Press(KEY_SPACE);
    RunTo(harness.frame() + 1);
    ASSERT_EQ(estado, "menu");
    harness.Press(KEY_F1);
    RunTo(harness.frame() + 1);
    harness.Press(KEY_F1);
    RunTo(harness.frame() + 2);
    ASSERT_EQ(estado, "iniciajuego");
    int firstVirus = 0;
    for (const auto& f : *tableros[0]->fichas) {
        ++firstVirus;
        if (f->bixo) break;
    }
    EXPECT_EQ(firstVirus, left < 11 ? 12 - left : 1);
}

TEST_F(Program, TheTimerStandsAtTheRightQuarterOfOnePlayerAndInTheMiddleOfTwo) {
    StartWith(Keys({}));
    RunTo(1);
    tiempo = 8.5f;  // a digit that lights every segment of the LED face
    const int w = static_cast<int>(kestrel::TextWidth("8"));
    kestrel::SetViewport(0, 0, anchopantalla, altopantalla);
    kestrel::SetClsColor(0, 0, 0);
    Box boxes[2];
    for (int players : {1, 2}) {
        jugadores = players;
        kestrel::Cls();
        dibujatiempo();
        boxes[players - 1] = BoxOf(kestrel::GrabPixmap(0, 0, anchopantalla, altopantalla), 0xFFFFFF);
        ASSERT_GT(boxes[players - 1].x1, boxes[players - 1].x0) << players;
        // The top at y 668, raised just enough for the digits' bottom
        // and their shadow to stay on the screen (two players: above the
        // throwers, which reach between the boards).
        if (players == 1) {
            EXPECT_GT(boxes[0].y0, 768 - 100 - 20);
        }
    }
    // One player: the text ends on x 896 (its last glyph's own right margin
    // aside); two players: centred on the screen.
    EXPECT_LE(boxes[0].x1, 896);
    EXPECT_GT(boxes[0].x1, 896 - 20);
    EXPECT_NEAR(boxes[1].cx(), 512.0f, 6.0f);
    // The same text starts at 896 - w in one and at 512 - w/2 in the other.
    EXPECT_NEAR(boxes[0].x0 - boxes[1].x0, 384 - w / 2, 1);
}

// The box of every pixel that differs from a background colour (0xRRGGBB).
Box InkOf(const kestrel::TPixmapPtr& p, std::uint32_t background) {
    Box b;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x)
            if ((p->ReadPixel(x, y) & 0xFFFFFFu) != background) {
                b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
            }
    return b;
}

bool Overlap(const Box& a, int x0, int y0, int x1, int y1) {
    return a.x0 <= x1 && x0 <= a.x1 && a.y0 <= y1 && y0 <= a.y1;
}

// The time counter, its shadow included, stays on the screen and off the
// boards and the throwers at every time the game can show, in both modes;
// where the described place has room it stays there. Screenshots of the
// play screen at each time are written for a person to look at.
TEST_F(Program, TheTimerFitsOnTheScreenAndOffTheBoardsAtEveryTime) {
    StartWith(Keys({{2, KEY_F2}, {3, KEY_F1}}));
    RunTo(4);
    while (estado != "juego" && harness.frame() < 400) harness.Step();
    ASSERT_EQ(estado, "juego");
    kestrel::TImagePtr doc = imgdoc;
    const int docHalf = kestrel::ImageWidth(doc) / 2;
    const int docTop = 720 + 8 - kestrel::ImageHeight(doc) / 2;
    const char* env = std::getenv("VIREXO_TIMER_SHOTS");
    const std::string dir = env ? env : ::testing::TempDir();
    for (int players : {1, 2}) {
        jugadores = players;
        // The one-player pictures show the left board where a one-player
        // board stands.
        tableros[0]->osx = players == 1 ? 320.0f : 64.0f;
        const std::vector<float> boardsX =
            players == 1 ? std::vector<float>{320.0f} : std::vector<float>{64.0f, 576.0f};
        for (int t : {0, 7, 77, 230, 999, 1000, 5555, 9999}) {
            SCOPED_TRACE("players " + std::to_string(players) + ", " + std::to_string(t) + " s");
            tiempo = static_cast<float>(t) + 0.5f;
            kestrel::SetViewport(0, 0, anchopantalla, altopantalla);
            kestrel::SetClsColor(90, 90, 90);  // the half-black shadow shows on grey
            kestrel::Cls();
            dibujatiempo();
            const Box ink = InkOf(kestrel::GrabPixmap(0, 0, anchopantalla, altopantalla), 0x5A5A5A);
            std::printf("%d player(s) %5d s: ink x %d..%d y %d..%d\n", players, t, ink.x0, ink.x1, ink.y0, ink.y1);
            ASSERT_GT(ink.x1, ink.x0);
            EXPECT_GE(ink.x0, 1);
            EXPECT_GE(ink.y0, 1);
            EXPECT_LE(ink.x1, 1022);
            EXPECT_LE(ink.y1, 766) << "the bottom of the digits or their shadow is cut off";
            for (float bx : boardsX) {
                // The grid picture is drawn from one pixel left of the board.
                EXPECT_FALSE(Overlap(ink, static_cast<int>(bx) - 1, 0, static_cast<int>(bx) + 384, 767))
                    << "over the board at x " << bx;
                // The throwers at the board's two outer columns, shadow included.
                for (int col : {0, 7}) {
                    const int cx = static_cast<int>(bx) + col * 48 + 24;
                    EXPECT_FALSE(Overlap(ink, cx - docHalf, docTop, cx + docHalf + 8, 767))
                        << "over the thrower in column " << col << " of the board at x " << bx;
                }
            }
            // Moved no more than it must be: one player, right-aligned on
            // x 896 while the digits clear the thrower in the last column,
            // just above the bottom edge; two players, centred on x 512 just
            // above the throwers, scaled to the room between the boards.
            // (The last glyph's own right margin leaves the shadow's ink
            // ending on x 895 where the text ends on 896.)
            if (players == 1) {
                if (t < 10) {
                    EXPECT_NEAR(ink.x1, 895, 2);
                }
                if (t < 100) {
                    EXPECT_LE(ink.x1, 895 + 25);
                }
                if (t < 1000) {
                    EXPECT_GE(ink.y1, 760);
                }
            } else {
                EXPECT_NEAR(ink.cx(), 512.0f + 5.0f, 8.0f);
                EXPECT_GE(ink.y1, docTop - 10);
                if (t >= 100) {
                    EXPECT_GE(ink.x1 - ink.x0, 100);
                }
            }
            if (t == 0 || t == 77 || t == 230 || t == 1000) {
                harness.ShootNext(dir + "/timer-" + std::to_string(players) + "p-" +
                                  std::to_string(t) + ".png");
                tiempo = static_cast<float>(t) + 0.5f;
                const float before = tiempo;
                harness.Step();
                ASSERT_EQ(estado, "juego");
                ASSERT_EQ(static_cast<int>(tiempo), static_cast<int>(before));
            }
        }
    }
}

TEST_F(Program, EndLabelsStandOverTheQuarterLineOfTheBoardThatEndedTheGame) {
    StartWith(Keys({{2, KEY_F2}, {3, KEY_F1}}));
    RunTo(4);
    ASSERT_NE(tableros[1], nullptr);
    // The lost label replaced by a marker of a colour nothing else draws.
    imgpierde = Marker(60, 20, 0x01FE03);
    RunTo(200);
    ASSERT_EQ(estado, "juego");
    // The first player's board (right) is overrun; its label stands on x 768.
    for (int i = 0; i < 20 && estado == "juego"; ++i) tableros[1]->ponlinea();
    ASSERT_EQ(estado, "fin20");
    const std::string shot = ::testing::TempDir() + "end_label.png";
    harness.ShootNext(shot);
    harness.Step();
    const Box b = BoxOf(kestrel::LoadPixmap(shot), 0x01FE03);
    ASSERT_GT(b.x1, b.x0);
    EXPECT_NEAR(b.cx(), 768.0f, 2.5f);
    EXPECT_NEAR(b.cy(), 384.0f + 100.0f, 2.5f);
    EXPECT_EQ(b.x1 - b.x0 + 1, 60);
}

}  // namespace
}  // namespace virexo

namespace virexo {
namespace {

// What makes two machines' games agree however many frames each draws: in an
// online game no screen's drawing draws from the game's generator.
TEST_F(Program, OnlineNoScreenDrawsFromTheGamesGeneratorOfflineTheyStillDo) {
    StartWith({});
    RunTo(1);
    jugadores = 2;
    creapartida();
    for (bool online : {true, false}) {
        azaraparte(online, 3);
        for (const char* screen : {"menu", "dificultad", "iniciajuego", "juego", "pausa", "fin20", "fin21b"}) {
            estado = screen;
            kestrel::SeedRnd(1234);
            for (int i = 0; i < 60; ++i) dibuja();
            if (online) {
                EXPECT_EQ(kestrel::RndSeed(), 1234) << screen;
            } else if (std::string(screen) != "juego") {
                // Offline the banners and labels shake as they always did.
                EXPECT_NE(kestrel::RndSeed(), 1234) << screen;
            }
        }
    }
    azaraparte(false);
}

}  // namespace
}  // namespace virexo

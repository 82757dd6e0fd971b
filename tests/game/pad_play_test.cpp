// The game played with gamepads: SDL's virtual pads, plugged in and out
// while the real program runs frame by frame in the replay harness, read
// through SDL's game-controller layer as pads on the machine are. Also the
// pause that a lost window focus brings.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/doc.h"
#include "game/ficha.h"
#include "game/casilla.h"
#include "game/game_io.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/audio/sound.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/pad_input.h"
#include "tools/replay/replay.h"
#include "tools/replay/sdl/key_injection.h"
#include "tools/replay/sdl/pad_injection.h"

namespace virexo {
namespace {

using kestrel::PadAxis;
using kestrel::PadButton;
using replay::sdl::VirtualPad;
using namespace kestrel;  // the key codes

// A music channel that remembers the volume it was last given.
class VolumeProbe : public kestrel::TChannel {
public:
    void SetVolume(float v) override { volume = v; }
    float volume = -1.0f;
};

class PadPlay : public ::testing::Test {
protected:
    void Start(std::vector<replay::KeyPress> presses = {}) {
        replay::Script script;
        script.presses = std::move(presses);
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
        started = true;
        ObservaSonidos([this](const TSoundPtr& s) {
            if (!s) return;
            if (s == sndclick) ++clicks;
            if (s == sndmover) ++moves;
            if (s == sndrecoge) ++pickups;
            if (s == sndlanza) ++throws;
        });
    }
    void TearDown() override {
        ObservaSonidos(nullptr);
        pads[0].reset();
        pads[1].reset();
        pads[2].reset();
        if (started) kestrel::RunExitHandlers();
    }
    // Plugs a pad in and pumps the messages once, as any frame that reads
    // input would: a press made before the game has seen the pad arrive is
    // lost (SDL reports a pad's buttons only once it is open).
    std::unique_ptr<VirtualPad> Plug() {
        auto pad = VirtualPad::Attach();
        if (!pad) ADD_FAILURE() << "no virtual pad";
        kestrel::PadConnected(0);
        return pad;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) harness.Step();
    }
    // A tap on a pad, then the frame that reads it.
    void Tap(VirtualPad& pad, PadButton b) {
        pad.Tap(b);
        harness.Step();
    }
    void RunUntilPlay() {
        for (int i = 0; i < 400 && estado != "juego"; ++i) harness.Step();
        ASSERT_EQ(estado, "juego");
    }
    std::shared_ptr<VolumeProbe> ProbeMusic() {
        auto probe = std::make_shared<VolumeProbe>();
        canalmusica = probe;
        return probe;
    }
    // Walks a thrower with taps on its pad to a column whose lowest piece is
    // a plain one (which a pick-up takes); the column, or -1 for none.
    int WalkToPlainPiece(VirtualPad& pad, const _tablero& board) {
        const _doc& d = *board.doc;
        for (int c = 0; c < board.ancho; ++c) {
            int r = static_cast<int>(d.y) - 1;
            while (r >= 0 && !board.celda(c, r).ficha) --r;
            if (r < 0 || board.celda(c, r).ficha->bixo) continue;
            for (int i = 0; i < 10 && static_cast<int>(d.x) != c; ++i)
                Tap(pad, d.x < static_cast<float>(c) ? PadButton::DpadRight : PadButton::DpadLeft);
            return static_cast<int>(d.x) == c ? c : -1;
        }
        return -1;
    }

    replay::Harness harness;
    bool started = false;
    std::unique_ptr<VirtualPad> pads[3];
    int clicks = 0, moves = 0, pickups = 0, throws = 0;
};

TEST_F(PadPlay, EveryScreenAnswersAPadAsItsKeys) {
    Start();
    Frames(1);
    pads[0] = Plug();
    ASSERT_NE(pads[0], nullptr);
    VirtualPad& pad = *pads[0];
    Frames(1);
    EXPECT_TRUE(kestrel::PadConnected(0));

    // Title: Y is F3 (help); help: A, B and Start return.
    for (PadButton back : {PadButton::A, PadButton::B, PadButton::Start}) {
        Tap(pad, PadButton::Y);
        ASSERT_EQ(estado, "ayuda");
        Tap(pad, back);
        ASSERT_EQ(estado, "menu") << static_cast<int>(back);
    }
    EXPECT_EQ(clicks, 6);
    // B and Start mean nothing on the title.
    Tap(pad, PadButton::B);
    Tap(pad, PadButton::Start);
    EXPECT_EQ(estado, "menu");
    // X is F2 (two players); B on the difficulty screen goes back.
    Tap(pad, PadButton::X);
    ASSERT_EQ(estado, "dificultad");
    EXPECT_EQ(jugadores, 2);
    Tap(pad, PadButton::B);
    ASSERT_EQ(estado, "menu");
    // A is F1 (one player); then X is F2 (Normal) there.
    Tap(pad, PadButton::A);
    ASSERT_EQ(estado, "dificultad");
    EXPECT_EQ(jugadores, 1);
    Tap(pad, PadButton::X);
    ASSERT_EQ(estado, "creapartida");
    EXPECT_EQ(periodobixo, 10);
    EXPECT_EQ(periodolinea, 540);
    RunUntilPlay();

    // Start pauses; A or Start plays on; B or Back returns to the title.
    auto music = ProbeMusic();
    Frames(2);
    Tap(pad, PadButton::Start);
    ASSERT_EQ(estado, "pausa");
    EXPECT_FLOAT_EQ(music->volume, 0.25f);
    const float frozen = tiempo;
    Frames(20);
    EXPECT_EQ(tiempo, frozen);
    Tap(pad, PadButton::Start);
    ASSERT_EQ(estado, "juego");
    EXPECT_FLOAT_EQ(music->volume, 0.75f);
    Tap(pad, PadButton::Start);
    Tap(pad, PadButton::A);
    ASSERT_EQ(estado, "juego");
    Tap(pad, PadButton::Start);
    Tap(pad, PadButton::Back);
    ASSERT_EQ(estado, "menu");

    // Into a Severe game (Y there), overrun it, and leave the end screen
    // with B.
    Tap(pad, PadButton::A);
    Tap(pad, PadButton::Y);
    EXPECT_EQ(periodobixo, 9);
    RunUntilPlay();
    Tap(pad, PadButton::Start);
    Tap(pad, PadButton::B);  // a pause's B: back to the title
    ASSERT_EQ(estado, "menu");
    Tap(pad, PadButton::A);
    Tap(pad, PadButton::A);  // Mild
    EXPECT_EQ(periodobixo, 11);
    RunUntilPlay();
    for (int i = 0; i < 20 && estado == "juego"; ++i) tableros[0]->ponlinea();
    ASSERT_EQ(estado, "fin10");
    Frames(5);
    ASSERT_EQ(estado, "fin10");
    Tap(pad, PadButton::B);
    EXPECT_EQ(estado, "menu");
}

TEST_F(PadPlay, EachPlayerPlaysTheirOwnBoardWithTheirOwnPad) {
    Start();
    Frames(1);
    pads[0] = Plug();
    Frames(1);
    pads[1] = Plug();
    ASSERT_TRUE(pads[0] && pads[1]);
    VirtualPad& first = *pads[0];
    VirtualPad& second = *pads[1];
    Tap(second, PadButton::X);  // any pad answers the title
    Tap(first, PadButton::A);
    ASSERT_EQ(jugadores, 2);
    RunUntilPlay();
    _doc& right = *docs[0];  // the first player, on the right board
    _doc& left = *docs[1];
    ASSERT_EQ(tableros[1]->doc, docs[0]);
    ASSERT_FLOAT_EQ(right.x, 4.0f);
    ASSERT_FLOAT_EQ(left.x, 4.0f);

    // The d-pad: one step a tap; a button held for many frames is one step.
    Tap(first, PadButton::DpadLeft);
    EXPECT_FLOAT_EQ(right.x, 3.0f);
    EXPECT_FLOAT_EQ(left.x, 4.0f);
    first.Hold(PadButton::DpadRight, true);
    Frames(15);
    first.Hold(PadButton::DpadRight, false);
    Frames(1);
    EXPECT_FLOAT_EQ(right.x, 4.0f);
    EXPECT_EQ(moves, 2);

    // The stick: one step a push, however long it is held and however it
    // wobbles; none while resting inside the dead zone.
    second.Move(PadAxis::LeftX, 6000);
    Frames(3);
    EXPECT_FLOAT_EQ(left.x, 4.0f);
    for (int v : {20000, 32767, 25000, 14000, 30000}) {
        second.Move(PadAxis::LeftX, v);
        Frames(3);
    }
    EXPECT_FLOAT_EQ(left.x, 5.0f);
    second.Move(PadAxis::LeftX, 0);
    Frames(1);
    second.Move(PadAxis::LeftX, -32768);
    Frames(1);
    second.Move(PadAxis::LeftX, 0);
    Frames(1);
    EXPECT_FLOAT_EQ(left.x, 4.0f);
    EXPECT_FLOAT_EQ(right.x, 4.0f);

    // The keyboard still plays alongside.
    harness.Press(KEY_LEFT);
    harness.Press(KEY_A);
    Frames(1);
    EXPECT_FLOAT_EQ(right.x, 3.0f);
    EXPECT_FLOAT_EQ(left.x, 3.0f);

    // The first player: X picks up and A throws, then the d-pad's down and up.
    for (auto [pick, toss] : {std::pair{PadButton::X, PadButton::A},
                              std::pair{PadButton::DpadDown, PadButton::DpadUp}}) {
        ASSERT_GE(WalkToPlainPiece(first, *tableros[1]), 0);
        const int picked = pickups, thrown = throws;
        Tap(first, pick);
        EXPECT_EQ(pickups, picked + 1);
        EXPECT_GT(right.fichas, 0);
        Tap(first, toss);
        EXPECT_EQ(throws, thrown + 1);
        EXPECT_EQ(right.fichas, 0);
        EXPECT_EQ(left.fichas, 0);
    }
    // The second player: the stick's down picks up and its up throws.
    ASSERT_GE(WalkToPlainPiece(second, *tableros[0]), 0);
    second.Move(PadAxis::LeftY, 32767);
    Frames(1);
    second.Move(PadAxis::LeftY, 0);
    Frames(1);
    EXPECT_GT(left.fichas, 0);
    EXPECT_EQ(right.fichas, 0);
    second.Move(PadAxis::LeftY, -32768);
    Frames(1);
    second.Move(PadAxis::LeftY, 0);
    Frames(1);
    EXPECT_EQ(left.fichas, 0);
}

TEST_F(PadPlay, PadsKeepTheirPlayersWhileOthersComeAndGo) {
    // One pad plugged in before the game starts: SDL reports it at start-up.
    pads[0] = VirtualPad::Attach();
    ASSERT_NE(pads[0], nullptr);
    Start();
    Frames(2);
    EXPECT_TRUE(kestrel::PadConnected(0));
    EXPECT_FALSE(kestrel::PadConnected(1));
    Tap(*pads[0], PadButton::X);
    Tap(*pads[0], PadButton::A);
    ASSERT_EQ(jugadores, 2);
    // A second pad plugged in during the get-ready plays the second player.
    Frames(30);
    pads[1] = Plug();
    RunUntilPlay();
    _doc& right = *docs[0];
    _doc& left = *docs[1];
    Tap(*pads[1], PadButton::DpadRight);
    Tap(*pads[0], PadButton::DpadLeft);
    EXPECT_FLOAT_EQ(left.x, 5.0f);
    EXPECT_FLOAT_EQ(right.x, 3.0f);

    // The first pad unplugged while its button is held: the second pad still
    // plays the second player, and nothing is left held.
    pads[0]->Hold(PadButton::A, true);
    Frames(1);
    pads[0].reset();
    Frames(1);
    EXPECT_FALSE(kestrel::PadConnected(0));
    EXPECT_TRUE(kestrel::PadConnected(1));
    EXPECT_EQ(kestrel::PadDown(0, PadButton::A), 0);
    Tap(*pads[1], PadButton::DpadRight);
    EXPECT_FLOAT_EQ(left.x, 6.0f);
    EXPECT_FLOAT_EQ(right.x, 3.0f);

    // A new pad takes the free first slot, and with it the first player.
    pads[2] = Plug();
    Frames(1);
    EXPECT_TRUE(kestrel::PadConnected(0));
    Tap(*pads[2], PadButton::DpadLeft);
    EXPECT_FLOAT_EQ(right.x, 2.0f);
    EXPECT_FLOAT_EQ(left.x, 6.0f);
}

TEST_F(PadPlay, LosingTheFocusInPlayPausesAsEscapeDoesAndNothingResumesButAPress) {
    Start({{5, KEY_F1}, {6, KEY_F1}});
    // A focus lost and found on the title is no reason to pause a game later.
    replay::sdl::InjectFocusChange(false);
    Frames(1);
    replay::sdl::InjectFocusChange(true);
    RunUntilPlay();
    Frames(10);
    ASSERT_EQ(estado, "juego");
    auto music = ProbeMusic();
    const int clicksBefore = clicks;

    replay::sdl::InjectFocusChange(false);
    Frames(1);
    ASSERT_EQ(estado, "pausa");
    EXPECT_FLOAT_EQ(music->volume, 0.25f);
    EXPECT_EQ(clicks, clicksBefore + 1);
    const float frozen = tiempo;
    const int rowTimer = tableros[0]->lineacont;
    Frames(30);
    replay::sdl::InjectFocusChange(true);
    Frames(30);
    EXPECT_EQ(estado, "pausa");  // the focus back resumes nothing
    EXPECT_EQ(tiempo, frozen);
    EXPECT_EQ(tableros[0]->lineacont, rowTimer);

    harness.Press(KEY_SPACE);
    Frames(1);
    ASSERT_EQ(estado, "juego");
    EXPECT_FLOAT_EQ(music->volume, 0.75f);
    Frames(5);
    EXPECT_EQ(estado, "juego");
    EXPECT_GT(tiempo, frozen);

    // A focus lost and found while paused is not a second pause on resuming.
    harness.Press(KEY_ESCAPE);
    Frames(1);
    ASSERT_EQ(estado, "pausa");
    replay::sdl::InjectFocusChange(false);
    Frames(1);
    replay::sdl::InjectFocusChange(true);
    Frames(1);
    harness.Press(KEY_SPACE);
    Frames(5);
    EXPECT_EQ(estado, "juego");
}

}  // namespace
}  // namespace virexo

#include "game/screen_flow.h"

#include "game/computer/versus.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/globals.h"
#include "game/pad_controls.h"
#include "game/player_keys.h"
#include "game/tablero.h"
#include "game/game_io.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/random.h"

namespace virexo {

std::array<std::shared_ptr<_doc>, 2> docs;
std::array<std::shared_ptr<_tablero>, 2> tableros;

namespace {

using namespace kestrel;
using B = PadButton;

constexpr float kFrameSeconds = 1.0f / 60.0f;

void Click() { Suena(sndclick); }

void RestartMenuMusic() {
    ParaCanal(canalmusica);
    canalmusica = Suena(sndmenu);
    VolumenCanal(canalmusica, 1.0f);
}

// On the title a pad's A, X and Y are F1, F2 and F3, its right shoulder
// button F4, and Back is Escape.
void UpdateMenu() {
    if (KeyOrPad(KEY_F1, {B::A})) {
        SeedRnd(MilliSecs());
        FlushInput();
        Click();
        estado = "dificultad";
        jugadores = 1;
        computer::ChooseVersus(false);
    }
    if (KeyOrPad(KEY_F2, {B::X})) {
        SeedRnd(MilliSecs());
        FlushInput();
        Click();
        estado = "dificultad";
        jugadores = 2;
        computer::ChooseVersus(false);
    }
    // Versus the computer: its strength first, then the difficulty.
    if (KeyOrPad(KEY_F4, {B::RightShoulder})) {
        SeedRnd(MilliSecs());
        FlushInput();
        Click();
        estado = "rival";
        jugadores = 2;
        computer::ChooseVersus(true);
    }
    if (KeyOrPad(KEY_F3, {B::Y})) {
        estado = "ayuda";
        Click();
        FlushInput();
    }
    if (KeyOrPad(KEY_ESCAPE, {B::Back})) {
        Click();
        End();
    }
}

void ChooseDifficulty(int bixo, int linea, int iniciales) {
    Click();
    periodobixo = bixo;
    periodolinea = linea;
    lineasiniciales = iniciales;
    estado = "creapartida";
    FlushInput();
}

void Resume() {
    Click();
    estado = "juego";
    VolumenCanal(canalmusica, 0.75f);
    FlushInput();
    AppSuspendHit();  // a focus lost while paused is not a reason to pause again
}

// On the difficulty screen A, X and Y are F1, F2 and F3, and B is Escape.
void UpdateDifficulty() {
    if (KeyOrPad(KEY_ESCAPE, {B::B})) {
        Click();
        estado = "menu";
        FlushInput();
    }
    if (KeyOrPad(KEY_F1, {B::A})) eligedificultad(0);
    if (KeyOrPad(KEY_F2, {B::X})) eligedificultad(1);
    if (KeyOrPad(KEY_F3, {B::Y})) eligedificultad(2);
}

// The computer's strength: F1 easy, F2 medium, F3 hard (a pad's A, X, Y),
// Escape (B) back to the title.
void UpdateStrength() {
    if (KeyOrPad(KEY_ESCAPE, {B::B})) {
        Click();
        estado = "menu";
        FlushInput();
        computer::ChooseVersus(false);
    }
    const computer::Strength choice[3] = {computer::Strength::kEasy, computer::Strength::kMedium,
                                          computer::Strength::kHard};
    const int keys[3] = {KEY_F1, KEY_F2, KEY_F3};
    const B buttons[3] = {B::A, B::X, B::Y};
    for (int i = 0; i < 3; ++i) {
        if (estado == "rival" && KeyOrPad(keys[i], {buttons[i]})) {
            Click();
            computer::ChooseStrength(choice[i]);
            estado = "dificultad";
            FlushInput();
        }
    }
}

// The help page returns to the title on Escape, or a pad's A, B or Start.
void UpdateHelp() {
    if (KeyOrPad(KEY_ESCAPE, {B::A, B::B, B::Start})) {
        estado = "menu";
        Click();
        FlushInput();
    }
}

void UpdateGetReady() {
    tiempo += kFrameSeconds;
    if (tiempo > 3.0f) {
        canalmusica = Suena(sndingame);
        VolumenCanal(canalmusica, 0.75f);
        tiempo = 0.0f;
        estado = "juego";
    }
}

// Escape, a pad's Start, or the window losing the focus pauses the game
// (online: either player's pause bit).
void UpdatePlay() {
    tiempo += kFrameSeconds;
    computer::OpponentKeys();
    for (int i = 0; i < jugadores; ++i) tableros[i]->actualiza();
    _explota::actualizaTodo();
    if (espantallafinal(estado)) {
        // A board ended the game. Keys hit during play (Space, the genre's
        // habitual drop key, or an Escape) must not leave the end screen
        // before it is seen: only a press made on the end screen does.
        FlushInput();
        return;
    }
    if (pidepausa()) {
        estado = "pausa";
        VolumenCanal(canalmusica, 0.25f);
        Click();
        FlushInput();
    }
}

// In the pause Space, or a pad's A or Start, plays on; Escape, or a pad's B
// or Back, returns to the title. Losing the focus while paused changes
// nothing: only a press plays on.
void UpdatePause() {
    if (KeyOrPad(KEY_ESCAPE, {B::B, B::Back})) {
        estado = "menu";
        Click();
        FlushInput();
        RestartMenuMusic();
    }
    if (KeyOrPad(KEY_SPACE, {B::A, B::Start})) Resume();
}

// The end screens return to the title on Escape or Space, or a pad's A, B
// or Start (online: either player's pause bit).
void UpdateEnd() {
    if (dejafinal()) {
        estado = "menu";
        RestartMenuMusic();
        Click();
        FlushInput();
    }
}

}  // namespace

void eligedificultad(int nivel) {
    if (nivel <= 0) ChooseDifficulty(11, 600, 5);
    else if (nivel == 1) ChooseDifficulty(10, 540, 6);
    else ChooseDifficulty(9, 480, 8);
}

void reanudapartida() { Resume(); }

void vuelvealtitulo() {
    estado = "menu";
    RestartMenuMusic();
    FlushInput();
}

void creapartida() {
    if (jugadores == 1) {
        docs[0] = _doc::crea(0, 4.0f, 15.0f);
        tableros[0] = _tablero::crea(static_cast<float>(centrox - 192), 0.0f, 8, 16, docs[0]);
        docs[1] = nullptr;
        tableros[1] = nullptr;
        contbixo[0] = Rand(0, 10);
    } else {
        docs[0] = _doc::crea(0, 4.0f, 15.0f);
        docs[1] = _doc::crea(1, 4.0f, 15.0f);
        tableros[0] = _tablero::crea(static_cast<float>(centrox - centrox / 2 - 192), 0.0f, 8, 16, docs[1]);
        tableros[1] = _tablero::crea(static_cast<float>(centrox + centrox / 2 - 192), 0.0f, 8, 16, docs[0]);
        contbixo[0] = Rand(0, 10);
        contbixo[1] = Rand(0, 10);
    }
    computer::StartOpponent();
    ParaCanal(canalmusica);
    Click();
    tiempo = 0.0f;
    estado = "iniciajuego";
    // Only a focus lost from now on pauses the new game (one lost during
    // its get-ready pauses it as play begins).
    AppSuspendHit();
}

void actualizaestado() {
    const std::string& e = estado;
    if (e == "menu") UpdateMenu();
    else if (e == "dificultad") UpdateDifficulty();
    else if (e == "rival") UpdateStrength();
    else if (e == "creapartida") creapartida();
    else if (e == "ayuda") UpdateHelp();
    else if (e == "iniciajuego") UpdateGetReady();
    else if (e == "juego") UpdatePlay();
    else if (e == "pausa") UpdatePause();
    else if (e == "fin10" || e == "fin20" || e == "fin21" || e == "fin10b" || e == "fin20b" ||
             e == "fin21b")
        UpdateEnd();
}

}  // namespace virexo

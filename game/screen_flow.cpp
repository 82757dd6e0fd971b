#include "game/screen_flow.h"

#include "game/doc.h"
#include "game/explota.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "game/game_io.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/random.h"

namespace virexo {

std::array<std::shared_ptr<_doc>, 2> docs;
std::array<std::shared_ptr<_tablero>, 2> tableros;

namespace {

using namespace kestrel;

constexpr int kEscape = 27, kSpace = 32, kF1 = 112, kF2 = 113, kF3 = 114;
constexpr float kFrameSeconds = 1.0f / 60.0f;

void Click() { Suena(sndclick); }

void RestartMenuMusic() {
    ParaCanal(canalmusica);
    canalmusica = Suena(sndmenu);
    VolumenCanal(canalmusica, 1.0f);
}

void UpdateMenu() {
    if (KeyHit(kF1)) {
        SeedRnd(MilliSecs());
        FlushKeys();
        Click();
        estado = "dificultad";
        jugadores = 1;
    }
    if (KeyHit(kF2)) {
        SeedRnd(MilliSecs());
        FlushKeys();
        Click();
        estado = "dificultad";
        jugadores = 2;
    }
    if (KeyHit(kF3)) {
        estado = "ayuda";
        Click();
        FlushKeys();
    }
    if (KeyHit(kEscape)) {
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
    FlushKeys();
}

void UpdateDifficulty() {
    if (KeyHit(kEscape)) {
        Click();
        estado = "menu";
        FlushKeys();
    }
    if (KeyHit(kF1)) ChooseDifficulty(11, 600, 5);
    if (KeyHit(kF2)) ChooseDifficulty(10, 540, 6);
    if (KeyHit(kF3)) ChooseDifficulty(9, 480, 8);
}

void UpdateHelp() {
    if (KeyHit(kEscape)) {
        estado = "menu";
        Click();
        FlushKeys();
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

void UpdatePlay() {
    tiempo += kFrameSeconds;
    for (int i = 0; i < jugadores; ++i) tableros[i]->actualiza();
    _explota::actualizaTodo();
    if (KeyHit(kEscape)) {
        estado = "pausa";
        VolumenCanal(canalmusica, 0.25f);
        Click();
        FlushKeys();
    }
}

void UpdatePause() {
    if (KeyHit(kEscape)) {
        estado = "menu";
        Click();
        FlushKeys();
        RestartMenuMusic();
    }
    if (KeyHit(kSpace)) {
        Click();
        estado = "juego";
        VolumenCanal(canalmusica, 0.75f);
        FlushKeys();
    }
}

void UpdateEnd() {
    if (KeyHit(kEscape) || KeyHit(kSpace)) {
        estado = "menu";
        RestartMenuMusic();
        Click();
        FlushKeys();
    }
}

}  // namespace

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
    ParaCanal(canalmusica);
    Click();
    tiempo = 0.0f;
    estado = "iniciajuego";
}

void actualizaestado() {
    const std::string& e = estado;
    if (e == "menu") UpdateMenu();
    else if (e == "dificultad") UpdateDifficulty();
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

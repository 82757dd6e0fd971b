// The game's global state: screen state name, players, clock, difficulty
// values, virus counters, key bindings, screen size, music channel, the
// loaded images and sounds, and the live explosion particles.
#pragma once

#include <string>

#include "game/game_types.h"
#include "toolkit/core/list.h"

namespace virexo {

// Screen flow.
extern std::string estado;  // "menu" at start
extern int jugadores;       // 1 or 2
extern float tiempo;        // seconds: get-ready delay, then play time
extern float fotograma;     // game updates (1/60 s each) since start

// Difficulty.
extern int periodobixo;      // plain pieces between two viruses
extern int periodolinea;     // frames between two pushed rows
extern int lineasiniciales;  // rows pushed when a board is created

// Pieces created since the last virus, per thrower `joy`.
extern int contbixo[2];

// Key bindings per thrower `joy` (virtual-key codes).
extern int teclaarriba[2];     // throw
extern int teclaabajo[2];      // pick up
extern int teclaizquierda[2];  // move left
extern int tecladerecha[2];    // move right

// Live explosion particles of every board, in creation order.
extern kestrel::TListPtr<_explota> listaexplota;

// Screen size and centre. They hold the game's own 1024 x 768 until the
// display opens and start-up reads the real size.
extern int anchopantalla;
extern int altopantalla;
extern int centrox;
extern int centroy;

extern TChannelPtr canalmusica;  // channel of the music now playing
extern TImageFontPtr fuente;     // the timer font

// Sounds, in load order.
extern TSoundPtr sndmover;
extern TSoundPtr sndlanza;
extern TSoundPtr sndrecoge;
extern TSoundPtr sndpastilla;
extern TSoundPtr sndbixo;
extern TSoundPtr sndfallo;
extern TSoundPtr sndclick;
extern TSoundPtr sndgameover;
extern TSoundPtr sndmenu;
extern TSoundPtr sndingame;

// Images, in load order; the per-colour arrays are indexed by colour
// (0 red, 1 green, 2 blue, 3 cyan, 4 magenta, 5 yellow).
extern TImagePtr imgpastilla[6];
extern TImagePtr imgvirus[6];
extern TImagePtr imgvirusgrande[6];
extern TImagePtr imgtitulo;
extern TImagePtr imgopciones;
extern TImagePtr imgautor;
extern TImagePtr imggameover;
extern TImagePtr imgfelicidades;
extern TImagePtr imggana;
extern TImagePtr imgpierde;
extern TImagePtr imgpausa;
extern TImagePtr imgpausaopciones;
extern TImagePtr imgdificultad;
extern TImagePtr imginfeccion;
extern TImagePtr imgpreparado;
extern TImagePtr imgayuda;
extern TImagePtr imgcuadricula;
extern TImagePtr imgdoc;
extern TImagePtr imgdocgrande;

// Start-up step of the game types: virus counters to [0, 0], a new empty
// particle list and the key tables.
void IniciaGlobalesJuego();

// Puts every number, name and list back to its value at program start
// (assets and channels are dropped). For tests and the soak run.
void ReiniciaGlobales();

}  // namespace virexo

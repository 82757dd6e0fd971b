#include "game/globals.h"

#include "game/board_underlay.h"
#include "game/computer/versus.h"
#include "game/explota.h"
#include "game/look_random.h"
#include "game/notice.h"
#include "game/player_keys.h"
#include "toolkit/system/keys.h"

namespace virexo {

std::string estado = "menu";
int jugadores = 1;
float tiempo = 0.0f;
float fotograma = 0.0f;

int periodobixo = 14;
int periodolinea = 600;
int lineasiniciales = 5;

int contbixo[2] = {0, 0};

int teclaarriba[2] = {38, 87};
int teclaabajo[2] = {40, 83};
int teclaizquierda[2] = {37, 65};
int tecladerecha[2] = {39, 68};

kestrel::TListPtr<_explota> listaexplota = kestrel::CreateList<_explota>();

int anchopantalla = 1024;
int altopantalla = 768;
int centrox = 512;
int centroy = 384;

TChannelPtr canalmusica;
TImageFontPtr fuente;

TSoundPtr sndmover;
TSoundPtr sndlanza;
TSoundPtr sndrecoge;
TSoundPtr sndpastilla;
TSoundPtr sndbixo;
TSoundPtr sndfallo;
TSoundPtr sndclick;
TSoundPtr sndgameover;
TSoundPtr sndmenu;
TSoundPtr sndingame;

TImagePtr imgpastilla[6];
TImagePtr imgvirus[6];
TImagePtr imgvirusgrande[6];
TImagePtr imgtitulo;
TImagePtr imgopciones;
TImagePtr imgautor;
TImagePtr imggameover;
TImagePtr imgfelicidades;
TImagePtr imggana;
TImagePtr imgpierde;
TImagePtr imgpausa;
TImagePtr imgpausaopciones;
TImagePtr imgdificultad;
TImagePtr imginfeccion;
TImagePtr imgpreparado;
TImagePtr imgayuda;
TImagePtr imgcuadricula;
TImagePtr imgdoc;
TImagePtr imgdocgrande;

void IniciaGlobalesJuego() {
    contbixo[0] = 0;
    contbixo[1] = 0;
    listaexplota = kestrel::CreateList<_explota>();
    teclaarriba[0] = kestrel::KEY_UP;
    teclaarriba[1] = kestrel::KEY_W;
    teclaabajo[0] = kestrel::KEY_DOWN;
    teclaabajo[1] = kestrel::KEY_S;
    teclaizquierda[0] = kestrel::KEY_LEFT;
    teclaizquierda[1] = kestrel::KEY_A;
    tecladerecha[0] = kestrel::KEY_RIGHT;
    tecladerecha[1] = kestrel::KEY_D;
}

void ReiniciaGlobales() {
    estado = "menu";
    ponteclasdered(nullptr);
    computer::StopOpponent();
    computer::ChooseVersus(false);
    azaraparte(false);
    quitaaviso();
    jugadores = 1;
    tiempo = 0.0f;
    fotograma = 0.0f;
    periodobixo = 14;
    periodolinea = 600;
    lineasiniciales = 5;
    IniciaGlobalesJuego();
    anchopantalla = 1024;
    altopantalla = 768;
    centrox = 512;
    centroy = 384;
    canalmusica.reset();
    fuente.reset();
    for (TSoundPtr* s : {&sndmover, &sndlanza, &sndrecoge, &sndpastilla, &sndbixo, &sndfallo,
                         &sndclick, &sndgameover, &sndmenu, &sndingame})
        s->reset();
    for (int c = 0; c < 6; ++c) {
        imgpastilla[c].reset();
        imgvirus[c].reset();
        imgvirusgrande[c].reset();
    }
    for (TImagePtr* i : {&imgtitulo, &imgopciones, &imgautor, &imggameover, &imgfelicidades,
                         &imggana, &imgpierde, &imgpausa, &imgpausaopciones, &imgdificultad,
                         &imginfeccion, &imgpreparado, &imgayuda, &imgcuadricula, &imgdoc,
                         &imgdocgrande})
        i->reset();
    olvidabajopiezas();
}

}  // namespace virexo

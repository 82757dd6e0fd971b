#include "game/asset_loading.h"

#include <string>

#include "game/globals.h"
#include "kestrel_embed/RegisterVirexoAssets.h"
#include "toolkit/audio/audio.h"
#include "toolkit/core/list.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"

namespace virexo {

namespace {

using namespace kestrel;

const char* const kPieceColours[6] = {"roja", "verde", "azul", "cyan", "magenta", "amarilla"};
const char* const kVirusColours[6] = {"rojo", "verde", "azul", "cyan", "magenta", "amarillo"};

TImagePtr Image(const std::string& name) { return LoadImage("incbin::gfx/" + name, -1); }

TImagePtr Banner(const std::string& name, int width) {
    return LoadAnimImage("incbin::gfx/" + name, width, 17, 0, 10, -1);
}

}  // namespace

void registraficheros() { RegisterVirexoAssets(); }

MusicaEnCurso empiezamusica() {
    const auto decode = [](const char* name) {
        return std::async(std::launch::async, [name] { return LoadAudioSample(name); });
    };
    return {decode("incbin::sfx/gameover.ogg"), decode("incbin::sfx/menu.ogg"),
            decode("incbin::sfx/ingame.ogg")};
}

void cargarecursos(MusicaEnCurso& musica) {
    fuente = LoadImageFont("incbin::gfx/led.ttf", 100, SMOOTHFONT);
    SetImageFont(fuente);

    sndmover = LoadSound("incbin::sfx/mover.wav", 0);
    sndlanza = LoadSound("incbin::sfx/lanza.wav", 0);
    sndrecoge = LoadSound("incbin::sfx/recoge.wav", 0);
    sndpastilla = LoadSound("incbin::sfx/pastilla.wav", 0);
    sndbixo = LoadSound("incbin::sfx/bixo.wav", 0);
    sndfallo = LoadSound("incbin::sfx/fallo.wav", 0);
    sndclick = LoadSound("incbin::sfx/click.wav", 0);
    // A track that failed to decode gives Null, as LoadSound of the file would.
    sndgameover = LoadSound(musica.gameover.get(), 1);
    sndmenu = LoadSound(musica.menu.get(), 1);
    sndingame = LoadSound(musica.ingame.get(), 1);

    for (int i = 0; i < 6; ++i)
        imgpastilla[i] = Image(std::string("pastilla_") + kPieceColours[i] + ".png");
    for (int i = 0; i < 6; ++i) imgvirus[i] = Image(std::string("virus_") + kVirusColours[i] + ".png");
    for (int i = 0; i < 6; ++i)
        imgvirusgrande[i] = Image(std::string("virus_") + kVirusColours[i] + "grande.png");
    imgtitulo = Banner("txt_titulo.png", 448);
    imgopciones = Image("txt_opciones.png");
    imgautor = Image("txt_autor.png");
    imggameover = Banner("txt_gameover.png", 763);
    imgfelicidades = Banner("txt_felicidades.png", 838);
    imggana = Image("txt_gana.png");
    imgpierde = Image("txt_pierde.png");
    imgpausa = Banner("txt_pausa.png", 436);
    imgpausaopciones = Image("txt_pausaopciones.png");
    imgdificultad = Image("txt_dificultad.png");
    imginfeccion = Banner("txt_infeccion.png", 730);
    imgpreparado = Image("txt_preparado.png");
    imgayuda = Image("ayuda.png");
    imgcuadricula = LoadImage("incbin::gfx/cuadricula.png", MASKEDIMAGE);
    SetImageHandle(imgcuadricula, 0, 0);
    imgdoc = Image("doc.png");
    imgdocgrande = Image("docgrande.png");
}

}  // namespace virexo

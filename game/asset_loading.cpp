#include "game/asset_loading.h"

#include <string>
#include <vector>

#include "game/globals.h"
#include "kestrel_embed/RegisterVirexoAssets.h"
#include "toolkit/audio/audio.h"
#include "toolkit/core/list.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/resources/pixmap_loader.h"

namespace virexo {

namespace {

using namespace kestrel;

const char* const kPieceColours[6] = {"roja", "verde", "azul", "cyan", "magenta", "amarilla"};
const char* const kVirusColours[6] = {"rojo", "verde", "azul", "cyan", "magenta", "amarillo"};

// The picture files in load order, with the name they are loaded by.
std::vector<std::string> PictureFiles() {
    std::vector<std::string> files;
    for (const char* c : kPieceColours) files.push_back(std::string("pastilla_") + c + ".png");
    for (const char* c : kVirusColours) files.push_back(std::string("virus_") + c + ".png");
    for (const char* c : kVirusColours) files.push_back(std::string("virus_") + c + "grande.png");
    for (const char* t : {"titulo", "opciones", "autor", "gameover", "gana", "pierde", "pausa",
                          "pausaopciones", "dificultad", "infeccion", "preparado", "felicidades"})
        files.push_back(std::string("txt_") + t + ".png");
    for (const char* f : {"ayuda.png", "cuadricula.png", "doc.png", "docgrande.png"}) files.push_back(f);
    return files;
}

// The pixmaps decoded while the question waited.
const std::map<std::string, TPixmapPtr>* g_decoded = nullptr;

// What an image is made from: its decoded pixmap, or the file itself where
// decoding failed (which fails again, as a load of the file alone would).
Url Source(const std::string& name) {
    if (g_decoded) {
        const auto it = g_decoded->find(name);
        if (it != g_decoded->end() && it->second) return Url(it->second);
    }
    return Url("incbin::gfx/" + name);
}

TImagePtr Image(const std::string& name, int flags = -1) { return LoadImage(Source(name), flags); }

TImagePtr Banner(const std::string& name, int width) {
    return LoadAnimImage(Source(name), width, 17, 0, 10, -1);
}

}  // namespace

void registraficheros() { RegisterVirexoAssets(); }

RecursosEnCurso empiezarecursos() {
    const auto decode = [](const char* name) {
        return std::async(std::launch::async, [name] { return LoadAudioSample(name); });
    };
    auto pictures = std::async(std::launch::async, [] {
        std::map<std::string, TPixmapPtr> decoded;
        for (const std::string& name : PictureFiles()) decoded[name] = LoadPixmap("incbin::gfx/" + name);
        return decoded;
    });
    return {decode("incbin::sfx/gameover.ogg"), decode("incbin::sfx/menu.ogg"),
            decode("incbin::sfx/ingame.ogg"), std::move(pictures)};
}

void cargarecursos(RecursosEnCurso& enCurso) {
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
    sndgameover = LoadSound(enCurso.gameover.get(), 1);
    sndmenu = LoadSound(enCurso.menu.get(), 1);
    sndingame = LoadSound(enCurso.ingame.get(), 1);

    const std::map<std::string, TPixmapPtr> decoded = enCurso.imagenes.get();
    g_decoded = &decoded;
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
    imgcuadricula = Image("cuadricula.png", MASKEDIMAGE);
    SetImageHandle(imgcuadricula, 0, 0);
    imgdoc = Image("doc.png");
    imgdocgrande = Image("docgrande.png");
    g_decoded = nullptr;
}

}  // namespace virexo

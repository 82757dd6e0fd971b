#include "asset_table.h"

#include <mutex>

#include "kestrel_embed/RegisterAssetFiles.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream_factory.h"

namespace asset_test {

namespace {

Asset Png(const std::string& name, int w, int h) { return {name, Kind::Png, w, h}; }
Asset Wav(const std::string& name, int channels, int rate, double seconds) {
    return {name, Kind::Wav, 0, 0, channels, rate, seconds};
}
Asset Ogg(const std::string& name, double seconds) { return {name, Kind::Ogg, 0, 0, 2, 44100, seconds}; }

}  // namespace

const std::vector<Asset>& AssetTable() {
    static const std::vector<Asset> table = [] {
        std::vector<Asset> t = {
            {"gfx/led.ttf", Kind::Font},
            Wav("sfx/mover.wav", 1, 22050, 0.18),
            Wav("sfx/lanza.wav", 1, 22050, 0.53),
            Wav("sfx/recoge.wav", 2, 44100, 0.45),
            Wav("sfx/pastilla.wav", 2, 44100, 0.19),
            Wav("sfx/bixo.wav", 2, 44100, 0.40),
            Wav("sfx/fallo.wav", 2, 22050, 1.72),
            Wav("sfx/click.wav", 2, 44100, 0.64),
            Ogg("sfx/gameover.ogg", 64),
            Ogg("sfx/menu.ogg", 57),
            Ogg("sfx/ingame.ogg", 67),
        };
        const char* pieces[] = {"roja", "verde", "azul", "cyan", "magenta", "amarilla"};
        const char* viruses[] = {"rojo", "verde", "azul", "cyan", "magenta", "amarillo"};
        for (const char* p : pieces) t.push_back(Png(std::string("gfx/pastilla_") + p + ".png", 48, 48));
        for (const char* v : viruses) t.push_back(Png(std::string("gfx/virus_") + v + ".png", 64, 64));
        for (const char* v : viruses) t.push_back(Png(std::string("gfx/virus_") + v + "grande.png", 256, 256));
        t.push_back(Png("gfx/txt_titulo.png", 448, 170));
        t.push_back(Png("gfx/txt_opciones.png", 227, 272));
        t.push_back(Png("gfx/txt_autor.png", 266, 48));
        t.push_back(Png("gfx/txt_gameover.png", 763, 170));
        t.push_back(Png("gfx/txt_gana.png", 400, 206));
        t.push_back(Png("gfx/txt_pierde.png", 303, 206));
        t.push_back(Png("gfx/txt_pausa.png", 436, 170));
        t.push_back(Png("gfx/txt_pausaopciones.png", 533, 206));
        t.push_back(Png("gfx/txt_dificultad.png", 348, 403));
        t.push_back(Png("gfx/txt_infeccion.png", 730, 170));
        t.push_back(Png("gfx/txt_preparado.png", 695, 200));
        t.push_back(Png("gfx/txt_felicidades.png", 838, 170));
        t.push_back(Png("gfx/ayuda.png", 1024, 768));
        t.push_back(Png("gfx/cuadricula.png", 386, 768));
        t.push_back(Png("gfx/doc.png", 140, 81));
        t.push_back(Png("gfx/docgrande.png", 158, 168));
        return t;
    }();
    return table;
}

void RegisterAssetsOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        kestrel::InitStreamFactories();
        kestrel::InitPngLoader();
        kestrel::InitWavLoader();
        kestrel::InitOggLoader();
        RegisterAssetFiles();
    });
}

}  // namespace asset_test

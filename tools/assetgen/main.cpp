// assetgen: writes every picture, sound, music loop and bitmap font of the
// game into an assets folder, reproducibly (all randomness has fixed seeds).
//
//   assetgen <assets-dir> [--sheet <contact-sheet.png>] [--only-images]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bitmap_font.h"
#include "contact_sheet.h"
#include "doctor.h"
#include "grid.h"
#include "help_page.h"
#include "icons.h"
#include "labels.h"
#include "music.h"
#include "ogg_writer.h"
#include "palette.h"
#include "pieces.h"
#include "png_writer.h"
#include "sound_effects.h"
#include "text.h"
#include "viruses.h"
#include "wav_writer.h"

using namespace assetgen;

namespace {

const char* kPieceNames[kColours] = {"roja", "verde", "azul", "cyan", "magenta", "amarilla"};
const char* kVirusNames[kColours] = {"rojo", "verde", "azul", "cyan", "magenta", "amarillo"};

// The title's option lines, and the pictures of the game against the
// computer, which live beside the asset table under computer/: the title's
// extra option, drawn just above the option list and lined up with it (the
// same letters, right edges and line pitch), the strength list and its
// banner.
const TextBlock kOptionLines{{"Single : F1", "Doubles : F2", "Help : F3", "Exit : ESC"}, Align::Right, 1.3f};
constexpr int kOptionsW = 227, kOptionsH = 272, kVersusH = 68;
// How far below the option list's top edge the game draws the versus
// option's top edge (the title screen uses the same figure): the option
// list leaves room above its first line.
constexpr int kVersusBelowTop = 11;

void PutComputerImages(std::map<std::string, Canvas>& images, const LabelStyle& label) {
    Font font(kFontBold);
    const TextPlacement options = PlaceText(kOptionsW, kOptionsH, font, kOptionLines, label);
    float widest = 0;
    for (const auto& line : kOptionLines.lines) widest = std::max(widest, font.Advance(line, options.size));
    const std::string line = "Versus : F4";
    const TextBlock versusLine{{line}, Align::Right, 1.0f};
    TextPlacement versus = PlaceText(kOptionsW, kVersusH, font, versusLine, label);
    versus.size = options.size;
    versus.ox = options.ox + int(std::lround(widest - font.Advance(line, options.size)));
    // Drawn with its top kVersusBelowTop pixels below the option list's
    // top, its baseline falls one line pitch above the first option's.
    const int step = int(std::lround(options.size * kOptionLines.line_spacing));
    const int below = (options.oy - step) - versus.oy;
    if (below != kVersusBelowTop)
        throw std::runtime_error("the versus option no longer lines up: draw it " + std::to_string(below) +
                                 " pixels below the option list's top");
    images.emplace("computer/txt_versus.png", MakeTextImage(kOptionsW, kVersusH, kFontBold, versusLine, label, &versus));
    images.emplace("computer/txt_fuerza.png",
                   MakeTextImage(348, 403, kFontBold, {{"F1 : Easy", "F2 : Medium", "F3 : Hard", "ESC : Menu"}, Align::Center, 1.35f},
                                 label));
    images.emplace("computer/txt_rival.png", MakeBanner(640, "Computer", Rgb(255, 140, 30)));
}

std::map<std::string, Canvas> MakeImages() {
    std::map<std::string, Canvas> images;
    auto put = [&](const std::string& name, Canvas c) { images.emplace(name, std::move(c)); };
    for (int i = 0; i < kColours; ++i) {
        put(std::string("gfx/pastilla_") + kPieceNames[i] + ".png", MakePiece(i));
        put(std::string("gfx/virus_") + kVirusNames[i] + ".png", MakeVirus(i, 64));
        put(std::string("gfx/virus_") + kVirusNames[i] + "grande.png", MakeVirus(i, 256));
    }
    put("gfx/txt_titulo.png", MakeBanner(448, "Virexo", Rgb(40, 235, 130)));
    put("gfx/txt_infeccion.png", MakeBanner(730, "Infection Level", Rgb(240, 60, 200)));
    put("gfx/txt_pausa.png", MakeBanner(436, "PAUSE", Rgb(60, 140, 255)));
    put("gfx/txt_gameover.png", MakeBanner(763, "GAME OVER", Rgb(255, 50, 50)));
    put("gfx/txt_felicidades.png", MakeBanner(838, "Congratulations!", Rgb(255, 210, 40)));

    LabelStyle label;
    put("gfx/txt_opciones.png", MakeTextImage(kOptionsW, kOptionsH, kFontBold, kOptionLines, label));
    LabelStyle small = label;
    small.outline = 1.5f;
    small.shadow_dx = small.shadow_dy = 2;
    small.shadow_blur = 1;
    put("gfx/txt_autor.png", MakeTextImage(266, 48, kFontBold, {{"by the Virexo team, 2026"}, Align::Center, 1.0f}, small));
    put("gfx/txt_gana.png", MakeTextImage(400, 206, kFontBold, {{"Infection has", "STOPPED!"}, Align::Center, 1.2f}, label));
    put("gfx/txt_pierde.png", MakeTextImage(303, 206, kFontBold, {{"You are", "INFECTED!"}, Align::Center, 1.2f}, label));
    put("gfx/txt_pausaopciones.png",
        MakeTextImage(533, 206, kFontBold, {{"ESC : MENU", "SPC : CONTINUE"}, Align::Center, 1.3f}, label));
    put("gfx/txt_dificultad.png",
        MakeTextImage(348, 403, kFontBold, {{"F1 : Mild", "F2 : Normal", "F3 : Severe", "ESC : Menu"}, Align::Center, 1.35f},
                      label));
    LabelStyle big = label;
    big.outline = 4.0f;
    big.shadow_dx = big.shadow_dy = 6;
    big.shadow_blur = 3;
    put("gfx/txt_preparado.png", MakeTextImage(695, 200, kFontBold, {{"Get ready!"}, Align::Center, 1.0f}, big));
    put("gfx/ayuda.png", MakeHelpPage());
    put("gfx/cuadricula.png", MakeGrid());
    put("gfx/doc.png", MakeDoctor());
    put("gfx/docgrande.png", MakeDoctorLarge());
    PutComputerImages(images, label);
    return images;
}

// Order of the contact sheet: pieces, viruses, large viruses, figures,
// labels, banners, then the full-size pictures.
std::vector<std::string> SheetOrder() {
    std::vector<std::string> order;
    for (int i = 0; i < kColours; ++i) order.push_back(std::string("gfx/pastilla_") + kPieceNames[i] + ".png");
    for (int i = 0; i < kColours; ++i) order.push_back(std::string("gfx/virus_") + kVirusNames[i] + ".png");
    order.push_back("gfx/doc.png");
    order.push_back("gfx/docgrande.png");
    order.push_back("gfx/txt_autor.png");
    for (int i = 0; i < kColours; ++i) order.push_back(std::string("gfx/virus_") + kVirusNames[i] + "grande.png");
    for (const char* n : {"gfx/txt_titulo.png", "gfx/txt_pausa.png", "gfx/txt_infeccion.png", "gfx/txt_gameover.png",
                          "gfx/txt_felicidades.png", "gfx/txt_opciones.png", "gfx/txt_gana.png", "gfx/txt_pierde.png",
                          "gfx/txt_pausaopciones.png", "gfx/txt_dificultad.png", "gfx/txt_preparado.png",
                          "gfx/cuadricula.png", "gfx/ayuda.png"})
        order.push_back(n);
    return order;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <assets-dir> [--fonts <dir>] [--sheet <file.png>] [--only-images]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    // The bitmap fonts are the toolkit's own: by default in its folder beside
    // the assets folder.
    std::filesystem::path fonts = root.parent_path() / "toolkit/graphics/fonts";
    std::string sheet_path;
    bool only_images = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) sheet_path = argv[++i];
        else if (std::strcmp(argv[i], "--fonts") == 0 && i + 1 < argc) fonts = argv[++i];
        else if (std::strcmp(argv[i], "--only-images") == 0) only_images = true;
    }
    try {
        std::filesystem::create_directories(root / "gfx");
        std::filesystem::create_directories(root / "sfx");
        std::filesystem::create_directories(fonts);
        std::filesystem::create_directories(root / "computer");
        auto start = std::chrono::steady_clock::now();

        std::map<std::string, Canvas> images = MakeImages();
        for (const auto& [name, canvas] : images) WritePng((root / name).string(), canvas);
        std::printf("%zu pictures in %.1f s\n", images.size(), Seconds(start));
        WriteAppIcons(root);
        std::printf("%zu icon sizes\n", IconSizes().size());
        if (!sheet_path.empty()) {
            std::vector<NamedImage> list;
            for (const std::string& name : SheetOrder()) list.push_back({name, &images.at(name)});
            WritePng(sheet_path, MakeContactSheet(list));
            std::printf("contact sheet %s\n", sheet_path.c_str());
        }
        WriteBytes((fonts / "kestrelfont.bin").string(), MakeBitmapFont(kFontMonoBold));
        // The GL module's own text routine gets the same glyphs.
        WriteBytes((fonts / "gldrawtextfont.bin").string(), MakeBitmapFont(kFontMonoBold));
        if (only_images) return 0;

        auto sounds = std::chrono::steady_clock::now();
        WriteWav((root / "sfx/mover.wav").string(), MakeMoveTick(), "move");
        WriteWav((root / "sfx/lanza.wav").string(), MakeThrowWhoosh(), "throw");
        WriteWav((root / "sfx/recoge.wav").string(), MakePickUp(), "pick up");
        WriteWav((root / "sfx/pastilla.wav").string(), MakePiecePop(), "piece cleared");
        WriteWav((root / "sfx/bixo.wav").string(), MakeVirusSquelch(), "virus cleared");
        WriteWav((root / "sfx/fallo.wav").string(), MakeFailTone(), "game ends");
        WriteWav((root / "sfx/click.wav").string(), MakeMenuClick(), "click");
        std::printf("sound effects in %.1f s\n", Seconds(sounds));

        auto music = std::chrono::steady_clock::now();
        const float quality = 0.25f;
        WriteOgg((root / "sfx/menu.ogg").string(), MakeMenuMusic(), "Virexo - menu", quality);
        WriteOgg((root / "sfx/ingame.ogg").string(), MakePlayMusic(), "Virexo - play", quality);
        WriteOgg((root / "sfx/gameover.ogg").string(), MakeGameOverMusic(), "Virexo - game over", quality);
        std::printf("music in %.1f s\n", Seconds(music));
        std::printf("total %.1f s\n", Seconds(start));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

// virexo-screens DIR: plays through every screen of the game with the replay
// harness and writes one screenshot of each into DIR: title, help,
// difficulty, get-ready, one-player play, pause, lost, two-player play, won.
// The loss is a real overrun (rows pushed in until the board ends the
// game); the win is the board's own end-of-game path for a cleared board.
#include <cstdio>
#include <string>

#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/core/app_entry.h"
#include "tools/replay/replay.h"

namespace {

constexpr int kEscape = 27, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kF1 = 112, kF2 = 113, kF3 = 114;

std::string g_dir;
virexo::replay::Harness g_harness;

void Frames(int n) {
    for (int i = 0; i < n; ++i) g_harness.Step();
}

void Key(int key, int framesAfter = 1) {
    g_harness.Press(key);
    Frames(framesAfter);
}

void Shot(const char* name) {
    g_harness.ShootNext(g_dir + "/" + name + ".png");
    g_harness.Step();
    std::printf("%s/%s.png: %s\n", g_dir.c_str(), name, virexo::estado.c_str());
}

void PlayUntilPlaying() {
    while (virexo::estado != "juego") Frames(1);
}

void Body() {
    using virexo::estado;
    virexo::replay::Script script;
    script.seed = 7;
    std::string why;
    if (!g_harness.Start(script, &why)) {
        std::fprintf(stderr, "virexo-screens: cannot open the display: %s\n", why.c_str());
        std::exit(1);
    }
    Frames(30);
    Shot("01-title");
    Key(kF3, 2);
    Shot("02-help");
    Key(kEscape, 2);
    Key(kF1, 2);
    Shot("03-difficulty");
    Key(kF1, 40);
    Shot("04-get-ready");
    PlayUntilPlaying();
    Frames(150);
    for (int key : {kLeft, kDown, kRight, kRight, kUp, kRight, kDown, kLeft, kUp}) Key(key, 25);
    Frames(6);
    Shot("05-play-one-player");
    Key(kEscape, 2);
    Shot("06-pause");
    Key(kSpace, 2);
    for (int i = 0; i < 20 && estado == "juego"; ++i) virexo::tableros[0]->ponlinea();
    Frames(60);
    Shot("07-lost");
    Key(kSpace, 2);
    Key(kF2, 2);
    Key(kF2, 2);
    PlayUntilPlaying();
    Frames(200);
    for (int key : {kLeft, int('A'), kDown, int('S'), kUp, int('W'), kRight, int('D')}) Key(key, 20);
    Frames(6);
    Shot("08-play-two-players");
    virexo::tableros[1]->finDePartida(true);  // the first player's (right) board cleared
    Frames(60);
    Shot("09-won");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: virexo-screens DIR\n");
        return 2;
    }
    g_dir = argv[1];
    return kestrel::RunApplication(argc, argv, Body);
}

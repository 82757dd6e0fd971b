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
#include "toolkit/system/keys.h"

namespace {

using kestrel::KEY_A;
using kestrel::KEY_D;
using kestrel::KEY_DOWN;
using kestrel::KEY_ESCAPE;
using kestrel::KEY_F1;
using kestrel::KEY_F2;
using kestrel::KEY_F3;
using kestrel::KEY_LEFT;
using kestrel::KEY_RIGHT;
using kestrel::KEY_S;
using kestrel::KEY_SPACE;
using kestrel::KEY_UP;
using kestrel::KEY_W;

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
    Key(KEY_F3, 2);
    Shot("02-help");
    Key(KEY_ESCAPE, 2);
    Key(KEY_F1, 2);
    Shot("03-difficulty");
    Key(KEY_F1, 40);
    Shot("04-get-ready");
    PlayUntilPlaying();
    Frames(150);
    for (int key : {KEY_LEFT, KEY_DOWN, KEY_RIGHT, KEY_RIGHT, KEY_UP, KEY_RIGHT, KEY_DOWN, KEY_LEFT, KEY_UP}) Key(key, 25);
    Frames(6);
    Shot("05-play-one-player");
    Key(KEY_ESCAPE, 2);
    Shot("06-pause");
    Key(KEY_SPACE, 2);
    for (int i = 0; i < 20 && estado == "juego"; ++i) virexo::tableros[0]->ponlinea();
    Frames(60);
    Shot("07-lost");
    Key(KEY_SPACE, 2);
    Key(KEY_F2, 2);
    Key(KEY_F2, 2);
    PlayUntilPlaying();
    Frames(200);
    for (int key : {KEY_LEFT, KEY_A, KEY_DOWN, KEY_S, KEY_UP, KEY_W, KEY_RIGHT, KEY_D}) Key(key, 20);
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

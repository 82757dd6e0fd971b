#include "game/computer/versus.h"

#include <memory>

#include "game/computer/computer_player.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "kestrel_embed/RegisterVirexoVersusFiles.h"
#include "toolkit/graphics/image.h"

namespace virexo::computer {

namespace {

bool g_versus = false;
Strength g_strength = Strength::kMedium;
std::unique_ptr<ComputerPlayer> g_opponent;
std::uint8_t g_keys = 0;  // the computer's keys for the update about to run
VersusPictures g_pictures;

}  // namespace

void ChooseVersus(bool versus) { g_versus = versus; }
bool VersusChosen() { return g_versus; }
void ChooseStrength(Strength s) { g_strength = s; }
Strength ChosenStrength() { return g_strength; }

void StartOpponent() {
    StopOpponent();
    if (!g_versus || !tableros[0] || !tableros[1]) return;
    g_opponent = std::make_unique<ComputerPlayer>(g_strength, SeedFrom(*tableros[0]));
    ponteclasjugador(1, &g_keys);
}

void OpponentKeys() {
    g_keys = g_opponent && tableros[0] ? g_opponent->NextKeys(*tableros[0]) : 0;
}

const ComputerPlayer* Opponent() { return g_opponent.get(); }

void StopOpponent() {
    g_opponent.reset();
    g_keys = 0;
    ponteclasjugador(1, nullptr);
}

void RegisterVersusFiles() { RegisterVirexoVersusFiles(); }

void LoadVersusPictures() {
    g_pictures.option = kestrel::LoadImage("incbin::computer/txt_versus.png", -1);
    g_pictures.strengths = kestrel::LoadImage("incbin::computer/txt_fuerza.png", -1);
    g_pictures.banner = kestrel::LoadAnimImage("incbin::computer/txt_rival.png", 640, 17, 0, 10, -1);
}

const VersusPictures& Pictures() { return g_pictures; }

}  // namespace virexo::computer

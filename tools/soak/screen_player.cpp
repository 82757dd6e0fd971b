#include "tools/soak/screen_player.h"

#include <algorithm>

#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"

namespace virexo::soak {

namespace {

constexpr int kSpace = 32, kReturn = 13, kF1 = 112, kF2 = 113, kF3 = 114;

bool Chance(std::mt19937& keys, unsigned inN) { return keys() % inN == 0; }

bool EndState(const std::string& e) { return e.rfind("fin", 0) == 0; }

}  // namespace

void ScreenPlayer::NewGame(int players) {
    for (int i = 0; i < 2; ++i) {
        const unsigned r = keys_() % 20;
        // Half guided, so that games are won; random, stacking and idle
        // boards crowd up and lose (an idle board beside a guided one gives
        // the guided player time to win).
        Style s = r < 10 ? Style::Guided : r < 12 ? Style::Random : r < 16 ? Style::Stacker : Style::Idle;
        if (forced_) s = *forced_;
        boards_[i].NewGame(s, static_cast<int>(keys_() % 8));
        if (i < players) styles_[static_cast<int>(s)] += 1;
    }
}

std::vector<int> ScreenPlayer::KeysForNextFrame() {
    const std::string& e = estado;
    if (e == "iniciajuego" && last_ != e) NewGame(jugadores);
    last_ = e;

    std::vector<int> keys;
    auto press = [&](int key) { keys.push_back(key); };
    // Keys no screen reads, pressed now and then anywhere.
    if (Chance(keys_, 97)) {
        static constexpr int kNoise[] = {kReturn, 9, 48, 90, 120, 160, 162};
        press(kNoise[keys_() % std::size(kNoise)]);
    }

    if (e == "menu") {
        if (Chance(keys_, 50)) press(keys_() % 2 ? kSpace : 38);  // read only in other screens
        if (Chance(keys_, 30)) {
            const unsigned r = keys_() % 20;
            press(r < 8 ? kF1 : r < 16 ? kF2 : kF3);
        }
    } else if (e == "dificultad") {
        if (Chance(keys_, 20)) {
            const unsigned r = keys_() % 20;
            // Mostly the mild level, where the guided player wins most.
            press(r < 12 ? kF1 : r < 15 ? kF2 : r < 18 ? kF3 : kKeyEscape);
        }
    } else if (e == "ayuda") {
        if (Chance(keys_, 60)) press(kKeyEscape);
    } else if (e == "iniciajuego") {
        // Held over into the first play frame, which then pauses.
        if (Chance(keys_, 2000)) press(kKeyEscape);
    } else if (e == "juego") {
        for (int i = 0; i < jugadores && i < 2; ++i)
            if (tableros[static_cast<std::size_t>(i)])
                if (const int key = boards_[i].NextKey(*tableros[static_cast<std::size_t>(i)], keys_); key >= 0)
                    press(key);
        if (Chance(keys_, 3000)) press(kKeyEscape);
        if (Chance(keys_, 700)) press(keys_() % 2 ? kF1 : kF3);  // ignored during play
    } else if (e == "pausa") {
        if (Chance(keys_, 40)) press(Chance(keys_, 5) ? kKeyEscape : kSpace);
    } else if (EndState(e)) {
        if (Chance(keys_, 60)) press(keys_() % 2 ? kKeyEscape : kSpace);
    }

    // Escape on the title ends the program, and with it the run.
    if (e == "menu") keys.erase(std::remove(keys.begin(), keys.end(), kKeyEscape), keys.end());
    return keys;
}

}  // namespace virexo::soak

#include "tools/soak/screen_player.h"

#include <algorithm>

#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/system/keys.h"

namespace virexo::soak {

using kestrel::KEY_0;
using kestrel::KEY_ESCAPE;
using kestrel::KEY_F1;
using kestrel::KEY_F2;
using kestrel::KEY_F3;
using kestrel::KEY_F4;
using kestrel::KEY_F9;
using kestrel::KEY_LCONTROL;
using kestrel::KEY_LSHIFT;
using kestrel::KEY_RETURN;
using kestrel::KEY_SPACE;
using kestrel::KEY_TAB;
using kestrel::KEY_UP;
using kestrel::KEY_Z;

namespace {

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
        static constexpr int kNoise[] = {KEY_RETURN, KEY_TAB, KEY_0, KEY_Z, KEY_F9, KEY_LSHIFT, KEY_LCONTROL};
        press(kNoise[keys_() % std::size(kNoise)]);
    }

    if (e == "menu") {
        if (Chance(keys_, 50)) press(keys_() % 2 ? KEY_SPACE : KEY_UP);  // read only in other screens
        if (Chance(keys_, 30)) {
            // Now and then a game against the computer (F4).
            const unsigned r = keys_() % 20;
            press(r < 7 ? KEY_F1 : r < 14 ? KEY_F2 : r < 15 ? KEY_F4 : KEY_F3);
        }
    } else if (e == "rival") {
        if (Chance(keys_, 20)) {
            const unsigned r = keys_() % 20;
            press(r < 6 ? KEY_F1 : r < 12 ? KEY_F2 : r < 18 ? KEY_F3 : KEY_ESCAPE);
        }
    } else if (e == "dificultad") {
        if (Chance(keys_, 20)) {
            const unsigned r = keys_() % 20;
            // Mostly the mild level, where the guided player wins most.
            press(r < 12 ? KEY_F1 : r < 15 ? KEY_F2 : r < 18 ? KEY_F3 : KEY_ESCAPE);
        }
    } else if (e == "ayuda") {
        if (Chance(keys_, 60)) press(KEY_ESCAPE);
    } else if (e == "iniciajuego") {
        // Held over into the first play frame, which then pauses.
        if (Chance(keys_, 2000)) press(KEY_ESCAPE);
    } else if (e == "juego") {
        for (int i = 0; i < jugadores && i < 2; ++i)
            if (tableros[static_cast<std::size_t>(i)])
                if (const int key = boards_[i].NextKey(*tableros[static_cast<std::size_t>(i)], keys_); key >= 0)
                    press(key);
        if (Chance(keys_, 3000)) press(KEY_ESCAPE);
        if (Chance(keys_, 700)) press(keys_() % 2 ? KEY_F1 : KEY_F3);  // ignored during play
    } else if (e == "pausa") {
        if (Chance(keys_, 40)) press(Chance(keys_, 5) ? KEY_ESCAPE : KEY_SPACE);
    } else if (EndState(e)) {
        if (Chance(keys_, 60)) press(keys_() % 2 ? KEY_ESCAPE : KEY_SPACE);
    }

    // Escape on the title ends the program, and with it the run.
    if (e == "menu") keys.erase(std::remove(keys.begin(), keys.end(), KEY_ESCAPE), keys.end());
    return keys;
}

}  // namespace virexo::soak

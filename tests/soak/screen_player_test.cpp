// The soak run's choice of keys per screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/globals.h"
#include "tools/soak/screen_player.h"
#include "toolkit/system/keys.h"

namespace virexo::soak {

using kestrel::KEY_ESCAPE;
using kestrel::KEY_F1;
using kestrel::KEY_F2;
using kestrel::KEY_F3;
using kestrel::KEY_SPACE;

namespace {

std::map<int, int> KeysOver(ScreenPlayer& player, const char* state, int frames) {
    estado = state;
    std::map<int, int> count;
    for (int f = 0; f < frames; ++f)
        for (int k : player.KeysForNextFrame()) count[k] += 1;
    return count;
}

TEST(ScreenPlayer, NeverPressesEscapeOnTheTitleButLeavesEveryOtherScreen) {
    ScreenPlayer player(9);
    auto title = KeysOver(player, "menu", 200000);
    EXPECT_EQ(title.count(KEY_ESCAPE), 0u);
    EXPECT_GT(title[KEY_F1], 1000);
    EXPECT_GT(title[KEY_F2], 1000);
    EXPECT_GT(title[KEY_F3], 100);

    auto difficulty = KeysOver(player, "dificultad", 20000);
    for (int k : {KEY_F1, KEY_F2, KEY_F3, KEY_ESCAPE}) EXPECT_GT(difficulty[k], 10) << k;
    EXPECT_GT(KeysOver(player, "ayuda", 5000)[KEY_ESCAPE], 10);
    auto pause = KeysOver(player, "pausa", 20000);
    EXPECT_GT(pause[KEY_SPACE], pause[KEY_ESCAPE]);
    EXPECT_GT(pause[KEY_ESCAPE], 10);
    for (const char* end : {"fin10", "fin21b"}) {
        auto keys = KeysOver(player, end, 20000);
        EXPECT_GT(keys[KEY_SPACE] + keys[KEY_ESCAPE], 100) << end;
    }
    estado = "menu";
}

TEST(ScreenPlayer, TheSameSeedGivesTheSameKeys) {
    ScreenPlayer a(42), b(42), c(43);
    std::vector<int> ka, kb, kc;
    for (const char* state : {"menu", "dificultad", "ayuda", "pausa", "fin20"}) {
        estado = state;
        for (int f = 0; f < 3000; ++f) {
            for (int k : a.KeysForNextFrame()) ka.push_back(k);
            for (int k : b.KeysForNextFrame()) kb.push_back(k);
            for (int k : c.KeysForNextFrame()) kc.push_back(k);
        }
    }
    estado = "menu";
    EXPECT_FALSE(ka.empty());
    EXPECT_EQ(ka, kb);
    EXPECT_NE(ka, kc);
}

}  // namespace
}  // namespace virexo::soak

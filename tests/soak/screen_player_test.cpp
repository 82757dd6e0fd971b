// The soak run's choice of keys per screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/globals.h"
#include "tools/soak/screen_player.h"

namespace virexo::soak {
namespace {

constexpr int kSpace = 32, kF1 = 112, kF2 = 113, kF3 = 114;

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
    EXPECT_EQ(title.count(kKeyEscape), 0u);
    EXPECT_GT(title[kF1], 1000);
    EXPECT_GT(title[kF2], 1000);
    EXPECT_GT(title[kF3], 100);

    auto difficulty = KeysOver(player, "dificultad", 20000);
    for (int k : {kF1, kF2, kF3, kKeyEscape}) EXPECT_GT(difficulty[k], 10) << k;
    EXPECT_GT(KeysOver(player, "ayuda", 5000)[kKeyEscape], 10);
    auto pause = KeysOver(player, "pausa", 20000);
    EXPECT_GT(pause[kSpace], pause[kKeyEscape]);
    EXPECT_GT(pause[kKeyEscape], 10);
    for (const char* end : {"fin10", "fin21b"}) {
        auto keys = KeysOver(player, end, 20000);
        EXPECT_GT(keys[kSpace] + keys[kKeyEscape], 100) << end;
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

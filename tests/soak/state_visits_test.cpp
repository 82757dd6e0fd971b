// Counting visits per screen state and what a run never reached.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/soak/state_visits.h"

namespace virexo::soak {
namespace {

TEST(StateVisits, AVisitIsAChangeOfStateAndPlayIsCountedPerPlayerCount) {
    StateVisits v;
    for (const char* e : {"menu", "menu", "dificultad", "creapartida", "iniciajuego", "iniciajuego", "juego",
                          "juego", "pausa", "juego", "fin10"})
        v.Observe(e, 1);
    for (const char* e : {"menu", "dificultad", "dificultad", "menu"}) v.Observe(e, 1);
    for (const char* e : {"dificultad", "creapartida", "iniciajuego", "juego", "fin21b", "menu"}) v.Observe(e, 2);

    EXPECT_EQ(v.Visits("menu"), 4);
    EXPECT_EQ(v.Visits("dificultad"), 3);
    EXPECT_EQ(v.Visits("juego"), 3);
    EXPECT_EQ(v.Visits("iniciajuego"), 2);
    EXPECT_EQ(v.Visits("pausa"), 1);
    EXPECT_EQ(v.PlayVisits(1), 2);
    EXPECT_EQ(v.PlayVisits(2), 1);
    EXPECT_EQ(v.Won(), 1);
    EXPECT_EQ(v.Lost(), 1);

    const std::vector<std::string> missing = {"ayuda", "fin20", "fin21", "fin10b", "fin20b"};
    EXPECT_EQ(v.Missing(), missing);
    EXPECT_TRUE(v.Unknown().empty());
}

TEST(StateVisits, NamesOutsideTheThirteenAndAbsentPlayAreReported) {
    StateVisits v;
    for (const auto& name : StateVisits::StateNames()) v.Observe(name, 2);
    v.Observe("fin30", 2);
    EXPECT_EQ(v.Unknown(), std::vector<std::string>{"fin30"});
    // Every name was seen, but never a one-player game.
    EXPECT_EQ(v.Missing(), std::vector<std::string>{"juego with one player"});
    std::ostringstream out;
    v.Print(out);
    EXPECT_NE(out.str().find("unknown state \"fin30\": 1"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("games won: 3, lost: 3"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace virexo::soak

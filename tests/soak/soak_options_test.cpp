// The soak command's options.
#include <gtest/gtest.h>

#include "tools/soak/soak_run.h"

namespace virexo::soak {
namespace {

std::optional<SoakOptions> Parse(std::vector<std::string> args, std::string* why) {
    return ParseSoakOptions(args, why);
}

TEST(SoakOptions, ReadsEveryOptionAndRejectsBadValues) {
    std::string why;
    const auto o = Parse({"--frames", "1000000", "--seed", "4294967295", "--rss-margin-mb", "12.5",
                          "--require", "kinds", "--log-games", "--style", "stacking"},
                         &why);
    ASSERT_TRUE(o.has_value()) << why;
    EXPECT_EQ(o->frames, 1000000);
    EXPECT_EQ(o->seed, 4294967295u);
    EXPECT_DOUBLE_EQ(o->rssMarginMb, 12.5);
    EXPECT_EQ(o->coverage, SoakOptions::Coverage::Kinds);
    EXPECT_TRUE(o->logGames);
    ASSERT_TRUE(o->style.has_value());
    EXPECT_EQ(*o->style, Style::Stacker);

    const auto d = Parse({}, &why);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->coverage, SoakOptions::Coverage::Every);
    EXPECT_FALSE(d->style.has_value());

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--frames"}, {"--frames", "0"}, {"--frames", "12x"}, {"--frames", "1.5"},
          {"--seed", "-1"}, {"--seed", "4294967296"}, {"--rss-margin-mb", "-2"}, {"--style", "lazy"}, {"--require", "most"}, {"--require"},
          {"--style"}, {"--fast"}, {"--frames", ""}}) {
        why.clear();
        EXPECT_FALSE(Parse(bad, &why).has_value()) << bad.front();
        EXPECT_FALSE(why.empty());
    }
}

TEST(SoakResultCheck, FailsOnMissingStatesUnknownStatesAndMemoryGrowth) {
    SoakOptions o;
    o.frames = 100;
    o.rssMarginMb = 8.0;
    auto finished = [&](long rss10, long rss100) {
        SoakResult r;
        r.displayOpened = true;
        r.frames = 100;
        for (const auto& name : StateVisits::StateNames()) {
            r.visits.Observe(name, 1);
            if (name == "juego") {
                r.visits.Observe("pausa", 2);
                r.visits.Observe("juego", 2);
            }
        }
        for (int p : {10, 50, 100}) {
            Checkpoint c;
            c.percent = p;
            c.memory.rssKb = p == 10 ? rss10 : rss100;
            c.memory.hwmKb = c.memory.rssKb;
            r.checkpoints.push_back(c);
        }
        return r;
    };
    auto ok = finished(100000, 100000 + 8 * 1024);  // exactly the margin
    CheckSoakResult(o, ok);
    EXPECT_EQ(ok.failure, "");

    auto grew = finished(100000, 100000 + 8 * 1024 + 1);
    CheckSoakResult(o, grew);
    EXPECT_NE(grew.failure.find("memory grew"), std::string::npos) << grew.failure;

    auto unread = finished(0, 0);
    CheckSoakResult(o, unread);
    EXPECT_NE(unread.failure, "");

    auto missing = finished(1, 1);
    missing.visits = StateVisits{};
    missing.visits.Observe("menu", 1);
    CheckSoakResult(o, missing);
    EXPECT_NE(missing.failure.find("never visited: dificultad"), std::string::npos) << missing.failure;
    // By kind, one won and one lost end screen stand for the six.
    o.coverage = SoakOptions::Coverage::Kinds;
    auto kinds = finished(1, 1);
    kinds.visits = StateVisits{};
    for (const char* e : {"menu", "ayuda", "menu", "dificultad", "creapartida", "iniciajuego", "juego", "pausa",
                          "juego", "fin10", "menu"})
        kinds.visits.Observe(e, 1);
    for (const char* e : {"dificultad", "creapartida", "iniciajuego", "juego"}) kinds.visits.Observe(e, 2);
    CheckSoakResult(o, kinds);
    EXPECT_EQ(kinds.failure, "never visited: a won end screen");
    kinds.failure.clear();
    kinds.visits.Observe("fin21b", 2);
    CheckSoakResult(o, kinds);
    EXPECT_EQ(kinds.failure, "");

    o.coverage = SoakOptions::Coverage::None;
    auto unchecked = missing;
    unchecked.failure.clear();
    CheckSoakResult(o, unchecked);
    EXPECT_EQ(unchecked.failure, "");

    auto unknown = finished(1, 1);
    unknown.visits.Observe("jeugo", 1);
    CheckSoakResult(o, unknown);
    EXPECT_NE(unknown.failure.find("unknown state"), std::string::npos) << unknown.failure;

    auto shortRun = finished(1, 1);
    shortRun.frames = 99;
    CheckSoakResult(o, shortRun);
    EXPECT_NE(shortRun.failure, "");

    // A violation found during the run is kept, not replaced.
    auto violated = finished(1, 1);
    violated.failure = "invariant violated";
    CheckSoakResult(o, violated);
    EXPECT_EQ(violated.failure, "invariant violated");
}

}  // namespace
}  // namespace virexo::soak

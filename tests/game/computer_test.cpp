// The computer opponent: its model of the rules against the real board, the
// keys it presses, what it may see, its determinism and its strengths.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "game/computer/computer_player.h"
#include "game/computer/grid.h"
#include "game/computer/planner.h"
#include "game/computer/strength.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game_fixture.h"
#include "tools/cpu_match/match.h"

namespace virexo::testing {
namespace {

using computer::ComputerPlayer;
using computer::Grid;
using computer::Hand;
using computer::Observe;
using computer::Strength;

// Runs the board with these key bits for the thrower's one update, then
// with none until no clear is pending.
void RunWithBits(_tablero& b, std::uint8_t bits) {
    TeclasJugadores keys{};
    keys[static_cast<std::size_t>(b.doc->joy)] = bits;
    ponteclasdered(&keys);
    b.actualiza();
    keys = {};
    for (int i = 0; i < 200 && b.limpieza != 0; ++i) b.actualiza();
    ponteclasdered(nullptr);
}

class ComputerTest : public GameTest {};

// The model's pick-ups and throws, chains included, leave the board the
// real rules leave, move after move, on boards the computer plays.
TEST_F(ComputerTest, TheModelOfTheRulesAgreesWithTheBoard) {
    int clears = 0, chains = 0, checked = 0;
    for (int game = 0; game < 8; ++game) {
        periodolinea = 1 << 30;  // no row pushed in while the model is compared
        periodobixo = 5;          // plenty of viruses
        kestrel::SeedRnd(100 + game);
        auto b = NuevoTablero(8);
        ComputerPlayer cpu(game % 2 ? Strength::kHard : Strength::kEasy, 1 + game);
        for (int u = 0; u < 6000 && estado == "juego"; ++u) {
            const computer::View v = Observe(*b);
            const std::uint8_t bits = cpu.Decide(v);
            if (!(bits & (teclas::kAbajo | teclas::kArriba))) {
                RunWithBits(*b, bits);
                continue;
            }
            Grid model = v.situation.grid;
            Hand hand = v.situation.hand;
            computer::Outcome out;
            if (bits & teclas::kAbajo) model.PickUp(v.situation.column, hand);
            else out = model.Throw(v.situation.column, hand);
            RunWithBits(*b, bits);
            const computer::View after = Observe(*b);
            ASSERT_TRUE(after.situation.grid == model) << "game " << game << " update " << u;
            EXPECT_EQ(after.situation.hand.count, hand.count);
            EXPECT_EQ(after.situation.hand.colour, hand.count > 0 ? hand.colour : after.situation.hand.colour);
            ++checked;
            clears += out.cleared > 0;
            chains += out.links > 1;
        }
        estado = "juego";
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(clears, 20);  // the comparison saw clears...
    EXPECT_GT(chains, 0);   // ...and chains
}

TEST_F(ComputerTest, APickUpTakesTheBottomRunAndAThrowCompletingFourClearsItWithAChain) {
    Grid g;
    // Column 0 from the top: green, red, red; column 1: red virus, blue.
    g.Set(0, 0, kGreen, false);
    g.Set(0, 1, kRed, false);
    g.Set(0, 2, kRed, false);
    g.Set(1, 0, kRed, true);
    g.Set(1, 1, kBlue, false);
    Hand h;
    EXPECT_EQ(g.RunLength(0, h), 2);
    EXPECT_EQ(g.PickUp(0, h), 2);
    EXPECT_EQ(h.colour, kRed);
    EXPECT_EQ(g.PickUp(0, h), 0);  // green under a red hand
    EXPECT_EQ(g.RunColour(1, h), -1);  // blue
    // Two reds under column 2 beside the virus's row: nothing joins.
    Grid g2 = g;
    Hand h2 = h;
    const computer::Outcome none = g2.Throw(2, h2);
    EXPECT_EQ(none.placed, 2);
    EXPECT_EQ(none.cleared, 0);
    EXPECT_EQ(h2.count, 0);
    EXPECT_EQ(h2.colour, -1);
    // The blue below the virus is taken away, then the reds thrown under it
    // with a third red beside: red virus + two reds + ... clears.
    g.Set(2, 0, kRed, false);
    Hand blue;
    EXPECT_EQ(g.PickUp(1, blue), 1);
    g.Set(3, 0, kBlue, false);
    g.Set(3, 1, kBlue, false);
    g.Set(3, 2, kBlue, false);
    const computer::Outcome out = g.Throw(1, h);
    EXPECT_EQ(out.cleared, 4);  // the virus, the two reds thrown and the red beside
    EXPECT_EQ(out.viruses, 1);
    EXPECT_EQ(out.links, 1);
    EXPECT_EQ(g.Viruses(), 0);
    // Carrying three, the thrower cannot stand under a column reaching row 12.
    Grid tall;
    for (int r = 0; r < 13; ++r) tall.Set(5, r, r % 6, false);
    EXPECT_FALSE(tall.Walkable(5, 3));
    EXPECT_TRUE(tall.Walkable(5, 2));
    EXPECT_FALSE(tall.PathClear(3, 7, 3));
    EXPECT_TRUE(tall.PathClear(3, 4, 3));
}

// One key an update at most, never the pause, never faster than its pace,
// and after a change on its board never sooner than its reaction time.
TEST_F(ComputerTest, ItPressesOneKeyAnUpdateAtItsPaceAndNothingAPlayerCouldNot) {
    for (Strength s : {Strength::kEasy, Strength::kMedium, Strength::kHard}) {
        SCOPED_TRACE(computer::StrengthName(s));
        const computer::StrengthParams& p = computer::ParamsOf(s);
        kestrel::SeedRnd(5);
        periodolinea = 300;
        auto b = NuevoTablero(6);
        ComputerPlayer cpu(s, computer::SeedFrom(*b));
        long last = -1000, presses = 0, changed = 0;
        std::uint64_t sig = Observe(*b).situation.grid.Signature();
        for (long u = 1; u <= 3600 && estado == "juego"; ++u) {
            const std::uint64_t now = Observe(*b).situation.grid.Signature();
            const bool pushed = b->lineacont == periodolinea;  // a row came in the last update
            if (now != sig && pushed) changed = u;
            sig = now;
            const std::uint8_t bits = cpu.NextKeys(*b);
            ASSERT_LE(std::popcount(bits), 1) << "update " << u;
            ASSERT_EQ(bits & ~(teclas::kIzquierda | teclas::kDerecha | teclas::kArriba | teclas::kAbajo), 0);
            if (bits) {
                ASSERT_GE(u - last, p.pressInterval) << "update " << u;
                ASSERT_GE(u - changed, p.reactionUpdates) << "update " << u;
                last = u;
                ++presses;
            }
            TeclasJugadores keys{};
            keys[0] = bits;
            ponteclasdered(&keys);
            b->actualiza();
            ponteclasdered(nullptr);
        }
        EXPECT_GT(presses, 20);
        estado = "juego";
    }
}

// The rows to come are not the computer's to see: two games alike but for
// the game's generator after their creation play the same keys until the
// next row comes in, though that row differs; and the computer never draws
// from the game's generator.
TEST_F(ComputerTest, ItSeesNoRowBeforeItIsPushedInAndLeavesTheGamesGeneratorAlone) {
    periodolinea = 400;
    auto play = [&](std::int32_t reseed, std::vector<std::uint8_t>& keys, std::string& row) {
        kestrel::SeedRnd(77);
        contbixo[0] = 0;
        auto b = NuevoTablero(6);
        kestrel::SeedRnd(reseed);  // what the next rows will be
        ComputerPlayer cpu(Strength::kHard, computer::SeedFrom(*b));
        keys.clear();
        // Up to the update that pushes the next row in (its keys were
        // chosen before it came).
        for (int u = 0; u < 5000; ++u) {
            const std::int32_t before = kestrel::RndSeed();
            keys.push_back(cpu.NextKeys(*b));
            EXPECT_EQ(kestrel::RndSeed(), before);
            TeclasJugadores bits{};
            bits[0] = keys.back();
            ponteclasdered(&bits);
            b->actualiza();
            ponteclasdered(nullptr);
            if (b->lineacont == periodolinea) break;
        }
        ASSERT_EQ(b->lineacont, periodolinea);
        row.clear();
        for (int c = 0; c < 8; ++c) row += std::to_string(b->celda(c, 0).ficha ? b->celda(c, 0).ficha->color : 9);
    };
    std::vector<std::uint8_t> a, b;
    std::string rowA, rowB;
    play(1, a, rowA);
    play(2, b, rowB);
    EXPECT_NE(rowA, rowB);
    EXPECT_EQ(a, b);
    int pressed = 0;
    for (std::uint8_t k : a) pressed += k != 0;
    EXPECT_GT(pressed, 10);
}

TEST(ComputerMatch, AGameDependsOnItsSeedAloneAndTheStrongestBeatsTheWeakest) {
    computer::MatchGame g;
    g.left = Strength::kHard;
    g.right = Strength::kMedium;
    g.seed = 31;
    const computer::GameResult r1 = computer::PlayMatchGame(g);
    const computer::GameResult r2 = computer::PlayMatchGame(g);
    EXPECT_EQ(r1.seconds, r2.seconds);
    EXPECT_EQ(r1.winner, r2.winner);
    EXPECT_EQ(r1.cleared, r2.cleared);

    // Hard on the left against easy on the right, and the other way round.
    computer::Summary leftHard, rightHard;
    for (int i = 0; i < 10; ++i) {
        g.seed = 500 + i;
        g.left = Strength::kHard;
        g.right = Strength::kEasy;
        leftHard.Add(computer::PlayMatchGame(g));
        g.left = Strength::kEasy;
        g.right = Strength::kHard;
        rightHard.Add(computer::PlayMatchGame(g));
    }
    EXPECT_GE(leftHard.leftWins, 9) << leftHard.Line(false);
    EXPECT_GE(rightHard.rightWins, 9) << rightHard.Line(false);

    // Alone, hard clears a Severe board.
    g.solo = true;
    g.left = Strength::kHard;
    g.difficulty = 2;
    g.seed = 3;
    const computer::GameResult solo = computer::PlayMatchGame(g);
    EXPECT_TRUE(solo.cleared);
    EXPECT_EQ(solo.winner, computer::GameResult::Winner::kLeft);
}

TEST(ComputerStrength, NamesReadBackAndEachStrengthIsQuickerThanTheOneBelow) {
    for (Strength s : {Strength::kEasy, Strength::kMedium, Strength::kHard})
        EXPECT_EQ(computer::StrengthFromName(computer::StrengthName(s)), s);
    EXPECT_FALSE(computer::StrengthFromName("expert"));
    const auto& e = computer::ParamsOf(Strength::kEasy);
    const auto& m = computer::ParamsOf(Strength::kMedium);
    const auto& h = computer::ParamsOf(Strength::kHard);
    EXPECT_GT(e.reactionUpdates, m.reactionUpdates);
    EXPECT_GT(m.reactionUpdates, h.reactionUpdates);
    EXPECT_GT(e.pressInterval, m.pressInterval);
    EXPECT_GT(m.pressInterval, h.pressInterval);
    EXPECT_GT(e.errorRate, m.errorRate);
    EXPECT_GT(m.errorRate, h.errorRate);
    EXPECT_GT(h.depth, m.depth);
}

}  // namespace
}  // namespace virexo::testing

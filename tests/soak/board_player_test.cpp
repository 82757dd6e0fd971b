// The soak run's board players on real boards: the grid view's reading of
// columns and throws, the guided player clearing viruses and winning, the
// stacking player piling up a column, the idle player leaving the keys alone.
#include <random>

#include "game_fixture.h"
#include "tools/soak/board_player.h"
#include "tools/soak/throw_plan.h"

namespace virexo::testing {
namespace {

using soak::BoardPlayer;
using soak::GridView;
using soak::Style;

class SoakPlayers : public GameTest {
protected:
    // Lets the player press one key (or none) before each frame of the board.
    // Returns the frames run until the game ended, or -1.
    int Play(BoardPlayer& player, _tablero& b, int frames, std::mt19937& keys, int* pressed = nullptr) {
        for (int f = 1; f <= frames; ++f) {
            if (const int key = player.NextKey(b, keys); key >= 0) {
                Pulsa(key);
                if (pressed) ++*pressed;
            }
            b.actualiza();
            _explota::actualizaTodo();
            if (const auto v = CompruebaInvariantes(b); !v.empty()) {
                ADD_FAILURE() << "frame " << f << ": " << v.front();
                return -1;
            }
            if (estado != "juego") return f;
        }
        return -1;
    }
};

TEST_F(SoakPlayers, TheGridViewReadsRunsAndValuesThrowsAsTheThrowerWouldPlaceThem) {
    auto b = NuevoTablero(0, 4.0f);
    Pon(*b, 0, 0, kBlue);
    Pon(*b, 0, 1, kRed);
    Pon(*b, 0, 2, kRed);       // column 0: a red run of 2 under a blue piece
    Pon(*b, 1, 0, kRed, 1);    // column 1: a red virus at the bottom
    Pon(*b, 2, 0, kGreen);
    Pon(*b, 2, 2, kGreen);     // column 2: a gap at row 1 that a pick-up skips
    for (int j = 0; j < 16; ++j) Pon(*b, 7, j, j % 2 ? kCyan : kYellow);  // column 7 full
    for (int j = 0; j < 14; ++j) Pon(*b, 6, j, j % 2 ? kCyan : kYellow);  // column 6 down to row 13
    const GridView g(*b);

    EXPECT_EQ(g.Bottom(0), 2);
    EXPECT_EQ(g.Bottom(3), -1);
    EXPECT_EQ(g.RunColour(0), kRed);
    EXPECT_EQ(g.RunLength(0, 5), 2);
    EXPECT_EQ(g.RunLength(0, 1), 1);
    EXPECT_EQ(g.RunColour(1), -1);  // a virus cannot be picked up
    EXPECT_EQ(g.RunLength(1, 5), 0);
    EXPECT_EQ(g.RunLength(2, 5), 2);
    EXPECT_EQ(g.RunColour(3), -1);

    // One red under the red virus joins it with column 0's pair beside it:
    // a group of four with a virus, the best kind of throw.
    EXPECT_GE(g.ThrowValue(1, kRed, 1), 1000 + 300);
    // Under column 0's pair, two reds make four without a virus.
    EXPECT_GE(g.ThrowValue(0, kRed, 2), 1000);
    EXPECT_LT(g.ThrowValue(0, kRed, 2), 1300);
    // One there makes three: growing a group beats a lone piece.
    EXPECT_LT(g.ThrowValue(0, kRed, 1), 1000);
    EXPECT_GT(g.ThrowValue(0, kRed, 1), g.ThrowValue(3, kRed, 1));
    // Four of one colour clear by themselves, three do not.
    EXPECT_GE(g.ThrowValue(3, kBlue, 4), 1000);
    EXPECT_LT(g.ThrowValue(3, kBlue, 3), 1000);
    EXPECT_EQ(g.ThrowValue(7, kRed, 3), -1000);  // nothing fits in a full column
    // Filling a column to the loss line is worth less than any plain throw.
    EXPECT_LT(g.ThrowValue(6, kRed, 1), 0);

    const GridView taken = g.WithoutRun(0, 2);
    EXPECT_EQ(taken.Bottom(0), 0);
    EXPECT_EQ(taken.RunColour(0), kBlue);
    EXPECT_EQ(g.Bottom(0), 2);  // the original is unchanged
}

TEST_F(SoakPlayers, TheGuidedPlayerCarriesARunUnderItsVirusAndWins) {
    auto b = NuevoTablero(0, 4.0f);
    Pon(*b, 2, 0, kRed, 1);
    for (int j = 0; j < 3; ++j) Pon(*b, 5, j, kRed);
    Pon(*b, 6, 0, kGreen);
    BoardPlayer player;
    player.NewGame(Style::Guided);
    std::mt19937 keys(3);
    const int frames = Play(player, *b, 300, keys);
    EXPECT_EQ(estado, "fin10b");
    EXPECT_GT(frames, 10);  // the clear waits its delay
    EXPECT_EQ(b->numbixos, 0);
}

TEST_F(SoakPlayers, TheGuidedPlayerWinsMildGamesAndTheStackerLosesQuickly) {
    periodolinea = 600;
    periodobixo = 11;
    int won = 0, wonFrames = 0;
    for (int game = 1; game <= 3; ++game) {
        kestrel::SeedRnd(100 + game);
        estado = "juego";
        auto b = NuevoTablero(5, 4.0f);
        BoardPlayer player;
        player.NewGame(Style::Guided);
        std::mt19937 keys(static_cast<unsigned>(game));
        const int frames = Play(player, *b, 12000, keys);
        if (HasFailure()) return;
        if (estado == "fin10b") {
            ++won;
            wonFrames += frames;
        }
    }
    EXPECT_GE(won, 2) << "of 3 games";  // a random player wins none
    std::cout << "guided: " << won << " of 3 mild games won, " << (won ? wonFrames / won : 0)
              << " frames on average\n";

    kestrel::SeedRnd(7);
    estado = "juego";
    auto b = NuevoTablero(5, 4.0f);
    BoardPlayer stacker;
    stacker.NewGame(Style::Stacker, 3);
    std::mt19937 keys(11);
    const int frames = Play(stacker, *b, 5000, keys);
    EXPECT_EQ(estado, "fin10");
    EXPECT_GT(frames, 0);
    EXPECT_LE(frames, 2 * 600) << "the pile reaches the loss line within two pushes";
}

TEST_F(SoakPlayers, TheIdlePlayerHardlyPressesAndTheRandomPlayerPressesOften) {
    auto b = NuevoTablero(3, 4.0f);
    BoardPlayer idle, random;
    idle.NewGame(Style::Idle);
    random.NewGame(Style::Random);
    std::mt19937 keys(5);
    int idlePressed = 0, randomPressed = 0;
    Play(idle, *b, 2000, keys, &idlePressed);
    Play(random, *b, 2000, keys, &randomPressed);
    EXPECT_LE(idlePressed, 20);
    EXPECT_GE(randomPressed, 400);
    EXPECT_EQ(idle.style(), Style::Idle);
}

}  // namespace
}  // namespace virexo::testing
